#include "hallFame.h"

#include "ErrorReport.h"
#include "HallList.h"
#include "Look.h"
#include "Services.h"

#include <QStyledItemDelegate>

#include <algorithm>

namespace {

const QString Vacant = QStringLiteral("(nicht besetzt)");

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

THallofFame::THallofFame(THallList& hallList, const QString& fameFile, QWidget* owner)
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
    // Only whole lines show: a line cut through the middle would leave stray
    // marks on the picture.
    const int lineSpacing = QFontMetrics(placeFont).lineSpacing();
    for (QLabel* place : {Place1Label, Place2Label, Place3Label}) {
        place->setFont(placeFont);
        place->setPalette(black);
        const int lines = std::max(1, place->height() / lineSpacing);
        place->setContentsMargins(0, 0, 0, std::max(0, place->height() - lines * lineSpacing));
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
        auto* row = new QTreeWidgetItem(ListView1, {HallEntryScore(entry), HallEntryName(entry)});
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
    FHallList.Clear();
    for (QLabel* place : {Place1Label, Place2Label, Place3Label})
        place->setText(Vacant);
    // The list is already empty in memory; the old file stays when it cannot
    // be replaced, and the player is told so.
    if (!FHallList.SaveToFile(FFameFile))
        ShowException(EFileError::CannotCreate(FFameFile));
}
