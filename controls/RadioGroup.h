#pragma once

#include <QGroupBox>
#include <QStringList>

#include <vector>

class QRadioButton;

// A group box that shows a list of items as radio buttons, at most one of
// them chosen: ItemIndex is the chosen item, -1 for none. The buttons are
// spread evenly over the box below its title, in Columns columns filled from
// top to bottom. A click on an item chooses it and raises OnClick.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(int Columns READ Columns WRITE SetColumns)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)

public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    int Columns() const { return FColumns; }
    // 1 to 16; other values are brought into that range.
    void SetColumns(int value);
    int ItemIndex() const { return FItemIndex; }
    // A value outside the items chooses none.
    void SetItemIndex(int value);
    QStringList Items() const { return FItems; }
    // New items keep the chosen index when it still names an item.
    void SetItems(const QStringList& value);

    // The button of an item, for tests and for the window around the group.
    QRadioButton* Button(int index) const;

signals:
    void OnClick(QObject* Sender);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CheckButtons();
    void ArrangeButtons();

    int FColumns = 1;
    int FItemIndex = -1;
    QStringList FItems;
    std::vector<QRadioButton*> FButtons;
};
