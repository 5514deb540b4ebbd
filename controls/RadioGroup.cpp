#include "RadioGroup.h"

#include <QEvent>
#include <QRadioButton>

#include <algorithm>

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent) { resize(185, 105); }

void TRadioGroup::SetColumns(int value)
{
    value = std::clamp(value, 1, 16);
    if (FColumns == value)
        return;
    FColumns = value;
    ArrangeButtons();
}

void TRadioGroup::SetItemIndex(int value)
{
    if (value < 0 || value >= FItems.size())
        value = -1;
    if (FItemIndex == value)
        return;
    FItemIndex = value;
    CheckButtons();
}

void TRadioGroup::SetItems(const QStringList& value)
{
    if (FItems == value)
        return;
    FItems = value;
    while (FButtons.size() > std::size_t(FItems.size())) {
        delete FButtons.back();
        FButtons.pop_back();
    }
    while (FButtons.size() < std::size_t(FItems.size())) {
        auto* button = new QRadioButton(this);
        const int index = int(FButtons.size());
        // The group, not Qt's sibling rule, decides which button is on, so
        // that "none chosen" can be shown as well.
        button->setAutoExclusive(false);
        connect(button, &QRadioButton::clicked, this, [this, index] {
            FItemIndex = index;
            CheckButtons();
            emit OnClick(this);
        });
        button->show();
        FButtons.push_back(button);
    }
    for (std::size_t index = 0; index < FButtons.size(); ++index)
        FButtons[index]->setText(FItems[int(index)]);
    if (FItemIndex >= FItems.size())
        FItemIndex = -1;
    CheckButtons();
    ArrangeButtons();
}

QRadioButton* TRadioGroup::Button(int index) const
{
    return index >= 0 && std::size_t(index) < FButtons.size() ? FButtons[std::size_t(index)] : nullptr;
}

void TRadioGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    ArrangeButtons();
}

void TRadioGroup::changeEvent(QEvent* event)
{
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        ArrangeButtons();
}

void TRadioGroup::CheckButtons()
{
    for (std::size_t index = 0; index < FButtons.size(); ++index)
        FButtons[index]->setChecked(int(index) == FItemIndex);
}

void TRadioGroup::ArrangeButtons()
{
    if (FButtons.empty())
        return;
    const int count = int(FButtons.size());
    const int rows = (count + FColumns - 1) / FColumns;
    // The group box keeps its title out of the contents rectangle.
    const QRect area = contentsRect().adjusted(8, 0, -4, 0);
    const int columnWidth = area.width() / FColumns;
    const int rowHeight = area.height() / rows;
    for (int index = 0; index < count; ++index) {
        QRadioButton* button = FButtons[std::size_t(index)];
        const int height = std::min(button->sizeHint().height(), std::max(rowHeight, 0));
        const int column = index / rows;
        const int row = index % rows;
        button->setGeometry(area.left() + column * columnWidth, area.top() + row * rowHeight + (rowHeight - height) / 2,
                            columnWidth, height);
    }
}
