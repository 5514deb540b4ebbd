#include "FameMerge.h"
#include "TestRows.h"

#include <gtest/gtest.h>

static void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

struct TMergeCase {
    const char* Name;
    QStringList File = {};
    TFameChanges Changes = {};
    QStringList Merged = {};
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
    testing::Values(TMergeCase{.Name = "NothingUnsaved",
                               .File = {"0000001;a", "0000002;b"},
                               .Merged = {"0000001;a", "0000002;b"}},
                    TMergeCase{.Name = "BothCopiesEntriesInOrder",
                               .File = {"0000001;a", "0000003;c"},
                               .Changes = {.Added = {"0000004;d", "0000002;b"}},
                               .Merged = {"0000001;a", "0000002;b", "0000003;c", "0000004;d"}},
                    TMergeCase{.Name = "AnEntryBothHoldOnceWhateverItsCase",
                               .File = {"0000001;Eva"},
                               .Changes = {.Added = {"0000001;EVA"}},
                               .Merged = {"0000001;Eva"}},
                    TMergeCase{.Name = "ADeletionDropsTheFileButNotTheEntriesAfterIt",
                               .File = {"0000001;a", "0000002;b"},
                               .Changes = {.Cleared = true, .Added = {"0000003;c"}},
                               .Merged = {"0000003;c"}},
                    TMergeCase{.Name = "ADeletionAlone", .File = {"0000001;a"}, .Changes = {.Cleared = true}}),
    RowName);

} // namespace
