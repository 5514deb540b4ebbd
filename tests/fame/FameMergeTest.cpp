#include "FameMerge.h"
#include "TestRows.h"

#include <gtest/gtest.h>

static void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

struct TMergeCase {
    const char* Name;
    QStringList File;
    TFameChanges Changes;
    QStringList Merged;
};
using TestRows::PrintTo;

class FameMerge : public testing::TestWithParam<TMergeCase> {};

// The file as another copy left it, with this run's unsaved changes on top.
TEST_P(FameMerge, KeepsWhatEitherCopySavedUnlessThisOneDeletedTheListSince)
{
    THallList file;
    for (const QString& entry : GetParam().File)
        file.Add(entry);
    EXPECT_EQ(Merged(std::move(file), GetParam().Changes).Entries(), GetParam().Merged);
}

INSTANTIATE_TEST_SUITE_P(
    FameStore, FameMerge,
    testing::Values(
        TMergeCase{"NothingUnsaved", {"0000001;a", "0000002;b"}, {}, {"0000001;a", "0000002;b"}},
        TMergeCase{"BothCopiesEntriesInOrder",
                   {"0000001;a", "0000003;c"},
                   {.Added = {"0000004;d", "0000002;b"}},
                   {"0000001;a", "0000002;b", "0000003;c", "0000004;d"}},
        TMergeCase{"AnEntryBothHoldOnceWhateverItsCase", {"0000001;Eva"}, {.Added = {"0000001;EVA"}}, {"0000001;Eva"}},
        TMergeCase{"ADeletionDropsTheFileButNotTheEntriesAfterIt",
                   {"0000001;a", "0000002;b"},
                   {.Cleared = true, .Added = {"0000003;c"}},
                   {"0000003;c"}},
        TMergeCase{"ADeletionAlone", {"0000001;a"}, {.Cleared = true}, {}}),
    RowName);

} // namespace
