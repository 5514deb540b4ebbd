#include "hallFame.h"

#include "ErrorReport.h"
#include "FameFile.h"
#include "HallList.h"
#include "Look.h"
#include "Services.h"

#include <QStyledItemDelegate>

namespace {

const QString Vacant = QStringLiteral("(nicht besetzt)");

// More than any column or place label can show; a hand-edited file may hold
// names of megabytes, and no window should lay those out.
constexpr qsizetype MostShown = 1024;

QString Shown(const QString& text)
{
    if (text.size() <= MostShown)
        return text;
    const qsizetype cut = text[MostShown - 1].isHighSurrogate() ? MostShown - 1 : MostShown;
    return text.left(cut) + QChar(0x2026);
}

// Only the score column can be edited in place; the names are shown as read.
class TReadOnlyColumn : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget*, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return nullptr;
    }
};

} // namespace

THallofFame::THallofFame(THallList& hallList, TFameFile& fameFile, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint),
      FHallList(hallList),
      FFameFile(fameFile)
{
    setupUi(this);
    setFont(ClassicFont());
    ListView1->setColumnWidth(0, 75);
    ListView1->setColumnWidth(1, 250);
    // The two columns are a little wider than the table: a long name is
    // elided rather than scrolled under a bar that would always show.
    ListView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListView1->setItemDelegateForColumn(1, new TReadOnlyColumn(ListView1));

    QFont placeFont = ClassicFont();
    placeFont.setPixelSize(16);
    placeFont.setBold(true);
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    for (QLabel* place : {Place1Label, Place2Label, Place3Label}) {
        place->setFont(placeFont);
        place->setPalette(black);
    }
    // Drawn for the screen's density, at the same size and place.
    Image1->setPixmap(Picture(QStringLiteral(":/pictures/podium.svg"), Image1->devicePixelRatioF()));
    // The names are written onto the podium, so the picture lies beneath them.
    Image1->lower();

    connect(DeleteBtn, &QPushButton::clicked, this, &THallofFame::DeleteBtnClick);
    CentreOnScreen(*this);
}

void THallofFame::ShowEntries()
{
    ListView1->clear();
    for (int index = FHallList.Count() - 1; index >= 0; --index) {
        const QString& entry = FHallList[index];
        auto* row = new QTreeWidgetItem(ListView1, {Shown(HallEntryScore(entry)), Shown(HallEntryName(entry))});
        row->setFlags(row->flags() | Qt::ItemIsEditable);
    }
    QLabel* const places[] = {Place1Label, Place2Label, Place3Label};
    for (int place = 0; place < 3; ++place) {
        const QTreeWidgetItem* row = ListView1->topLevelItem(place);
        places[place]->setText(row ? row->text(1) : Vacant);
    }
}

void THallofFame::DeleteBtnClick()
{
    if (!Services().AskQuestion(QStringLiteral("Wollen Sie tatsächlich die Bestenliste löschen?")))
        return;
    ListView1->clear();
    for (QLabel* place : {Place1Label, Place2Label, Place3Label})
        place->setText(Vacant);
    // The list empties in memory whatever happens; the old file stays when it
    // cannot be replaced, and the player is told so.
    const TFameSaved saved = FFameFile.Clear(FHallList);
    if (!saved.Saved)
        ShowException(EFileError::CannotCreate(FFameFile.Path()));
    ReportBackup(saved);
}

void ReportBackup(const TFameSaved& saved)
{
    if (!saved.Backup.isEmpty())
        Services().ShowMessage(QStringLiteral("Die bisherige Bestenliste konnte nicht vollständig gelesen werden.\r"
                                              "Sie wurde vor dem Speichern aufbewahrt als\r")
                                   + saved.Backup,
                               TMessageIcon::Information);
}
