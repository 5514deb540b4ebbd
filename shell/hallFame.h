#pragma once

#include "ui_hallFame.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QHash>

class TFameStore;
struct TFameSaved;

// The hall of fame as a table, the best game first: the score field and the
// name. Scores edited in place change only what the table shows.
class THallModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit THallModel(TFameStore& store, QObject* owner = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Around a change of the store's list; edits on the screen are dropped.
    void Changing() { beginResetModel(); }
    void Changed();

private:
    QString SpokenCell(const QModelIndex& index) const;

    TFameStore& FStore;
    QHash<int, QString> FEdited;
};

// The hall-of-fame window: the three best names on the podium, every entry
// from the best down, and a button that clears the hall of fame.
class THallofFame : public QDialog, public Ui::THallofFame {
    Q_OBJECT

public:
    // The window shows and clears the hall of fame in store.
    explicit THallofFame(TFameStore& store, QWidget* owner = nullptr);
    ~THallofFame() override;

    // Shows the table from the best entry down and puts the three best names
    // on the podium.
    void ShowEntries();
    // Clears the table, the list and the file after the player confirms.
    void DeleteBtnClick();

protected:
    bool event(QEvent* event) override;

private:
    void SetPlace(int place, const QString& name);

    TFameStore& FStore;
    THallModel FModel;
};

// Tells the player why a save failed, and where a save kept a file that had
// not been read whole.
void ReportSaved(const TFameSaved& saved, const QString& path);
