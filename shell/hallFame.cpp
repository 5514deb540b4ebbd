#include "hallFame.h"

#include "ErrorReport.h"
#include "FameStore.h"
#include "Look.h"
#include "Services.h"

#include <QFileInfo>
#include <QTimer>

namespace {

const QString Vacant = QStringLiteral("(nicht besetzt)");

// More than any column or place label can show; a hand-edited file may hold
// names of megabytes, and no window should lay those out.
constexpr qsizetype MostShown = 1024;

QString Shown(QStringView text)
{
    if (text.size() <= MostShown)
        return text.toString();
    const qsizetype cut = text[MostShown - 1].isHighSurrogate() ? MostShown - 1 : MostShown;
    return text.left(cut).toString() + QChar(0x2026);
}

QString SaveFailureText(TFameFailure failure, const QString& path)
{
    const QString failed = QStringLiteral("Bestenliste konnte nicht gespeichert werden,\r");
    switch (failure) {
    case TFameFailure::None:
    case TFameFailure::Waiting:
        break;
    case TFameFailure::Busy:
        return failed + QStringLiteral("ein anderes laufendes Spiel speichert gerade\r"
                                       "(der Eintrag folgt beim nächsten Speichern)");
    case TFameFailure::NotAFile:
        return failed + QStringLiteral("%1 ist keine gewöhnliche Datei\r(z.B.: ein Ordner oder ein Link)").arg(path);
    case TFameFailure::LockNotAFile:
        return failed
               + QStringLiteral("%1 ist keine Sperrdatei\r(z.B.: ein Ordner oder ein Link)").arg(path + ".lock");
    case TFameFailure::FolderNotWritable:
        return failed + QStringLiteral("der Ordner %1\rist nicht beschreibbar").arg(QFileInfo(path).absolutePath());
    case TFameFailure::Disk:
        return failed + QStringLiteral("entweder es ist kein Speicher mehr frei\r"
                                       "oder das Laufwerk ist schreibgeschützt (z.B.: CD)");
    case TFameFailure::Unreadable:
        return failed + QStringLiteral("die bisherige Datei %1 ist nicht ganz lesbar\r"
                                       "und kann nicht aufbewahrt werden").arg(path);
    }
    return {};
}

} // namespace

THallModel::THallModel(TFameStore& store, QObject* owner) : QAbstractTableModel(owner), FStore(store) {}

int THallModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FStore.List().Count();
}

int THallModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant THallModel::data(const QModelIndex& index, int role) const
{
    const THallList& list = FStore.List();
    if (role == Qt::AccessibleTextRole && index.row() < list.Count())
        return SpokenCell(index);
    if ((role != Qt::DisplayRole && role != Qt::EditRole) || index.row() >= list.Count())
        return {};
    if (index.column() == 0) {
        if (const auto edited = FEdited.constFind(index.row()); edited != FEdited.cend())
            return *edited;
    }
    // The best game is the list's last.
    const QStringView entry = list[list.Count() - 1 - index.row()];
    return Shown(index.column() == 0 ? HallEntryScore(entry) : HallEntryName(entry));
}

// A score is read as the number it is, with its column's name; the zeros
// that pad it in the file say nothing to a listener.
QString THallModel::SpokenCell(const QModelIndex& index) const
{
    const QString shown = data(index, Qt::DisplayRole).toString();
    if (index.column() == 1)
        return QStringLiteral("Name ") + shown;
    bool number = false;
    const qlonglong score = shown.toLongLong(&number);
    return (number ? QString::number(score) : shown) + QStringLiteral(" Punkte");
}

QVariant THallModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? QStringLiteral("Punkte") : QStringLiteral("Name");
}

Qt::ItemFlags THallModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.column() == 0 ? flags | Qt::ItemIsEditable : flags;
}

bool THallModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.column() != 0)
        return false;
    FEdited.insert(index.row(), value.toString());
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

void THallModel::Changed()
{
    FEdited.clear();
    endResetModel();
}

THallofFame::THallofFame(TFameStore& store, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint),
      FStore(store),
      FModel(store)
{
    setupUi(this);
    setFont(ClassicFont());
    // The list may change while the window is open: a game going on behind
    // it may end and save.
    FStore.SetObserver([this] { FModel.Changing(); }, [this] { FModel.Changed(); });
    ListView1->setModel(&FModel);
    ListView1->setColumnWidth(0, 75);
    ListView1->setColumnWidth(1, 250);
    // The two columns are a little wider than the table: a long name is
    // elided rather than scrolled under a bar that would always show.
    ListView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListView1->setAccessibleName(QStringLiteral("Bestenliste"));
    Image1->setAccessibleName(QStringLiteral("Siegertreppchen"));

    QFont placeFont = ClassicFont();
    placeFont.setPixelSize(16);
    placeFont.setBold(true);
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    for (QLabel* place : {Place1Label, Place2Label, Place3Label}) {
        place->setFont(placeFont);
        place->setPalette(black);
    }
    for (int place = 0; place < 3; ++place)
        SetPlace(place, Vacant);
    // Drawn for the screen's density, at the same size and place.
    Image1->setPixmap(Picture(QStringLiteral(":/pictures/podium.svg"), Image1->devicePixelRatioF()));
    // The names are written onto the podium, so the picture lies beneath them.
    Image1->lower();

    connect(DeleteBtn, &QPushButton::clicked, this, &THallofFame::DeleteBtnClick);
    CentreOnScreen(*this);
}

// The table's first row becomes current before the table itself reports the
// focus, so a screen reader hears only the table. Made current again once the
// window is active and the table focused, the first entry is heard as the
// window opens.
bool THallofFame::event(QEvent* event)
{
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate)
        QTimer::singleShot(0, this, [this] {
            const QModelIndex current = ListView1->currentIndex();
            if (!ListView1->hasFocus() || !current.isValid())
                return;
            QItemSelectionModel* selection = ListView1->selectionModel();
            selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
            selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
        });
    return handled;
}

THallofFame::~THallofFame() { FStore.SetObserver({}, {}); }

void THallofFame::SetPlace(int place, const QString& name)
{
    QLabel* const labels[] = {Place1Label, Place2Label, Place3Label};
    labels[place]->setText(name);
    labels[place]->setAccessibleName(QStringLiteral("%1. Platz: %2").arg(place + 1).arg(name));
}

void THallofFame::ShowEntries()
{
    for (int place = 0; place < 3; ++place) {
        const QModelIndex name = FModel.index(place, 1);
        SetPlace(place, name.isValid() ? name.data().toString() : Vacant);
    }
}

void THallofFame::DeleteBtnClick()
{
    if (!Services().AskQuestion(QStringLiteral("Wollen Sie tatsächlich die Bestenliste löschen?")))
        return;
    for (int place = 0; place < 3; ++place)
        SetPlace(place, Vacant);
    // The list empties in memory whatever happens; the old file stays when it
    // cannot be replaced, and the player is told why.
    FStore.Clear([path = FStore.Path()](const TFameSaved& saved) {
        if (saved.Failure == TFameFailure::Disk)
            ShowException(EFileError::CannotCreate(path));
        else
            ReportSaved(saved, path);
    });
}

void ReportSaved(const TFameSaved& saved, const QString& path)
{
    if (!saved.Saved())
        Services().ShowMessage(SaveFailureText(saved.Failure, path));
    if (!saved.Backup.isEmpty())
        Services().ShowMessage(QStringLiteral("Die bisherige Bestenliste konnte nicht vollständig gelesen werden.\r"
                                              "Sie wurde vor dem Speichern aufbewahrt als\r")
                                   + saved.Backup,
                               TMessageIcon::Information);
}
