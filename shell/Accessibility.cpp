#include "Accessibility.h"

#include "main.h"
#include "PreviewForm.h"
#include "T_KUBRIN.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace {

// The well as a picture: its size, and whether a game runs in it. The main
// window knows the latter; a playfield elsewhere only says its size.
class TPlayfieldAccessible : public QAccessibleWidget {
public:
    explicit TPlayfieldAccessible(TKUBRIN* playfield) : QAccessibleWidget(playfield, QAccessible::Graphic) {}

    QString text(QAccessible::Text type) const override
    {
        switch (type) {
        case QAccessible::Name: return QStringLiteral("Spielfeld");
        case QAccessible::Description: {
            const QString size = QStringLiteral("%1 Spalten, %2 Zeilen").arg(TWell::Columns).arg(TWell::Rows);
            // In the game the whole state first, read on the screen reader's
            // "where am I"; the size, which never changes, last.
            if (const auto* form = qobject_cast<const TMainForm*>(widget()->window()))
                return form->SpokenState() + QLatin1Char(' ') + size;
            return size;
        }
        default: return QAccessibleWidget::text(type);
        }
    }
};

// The preview window is a picture of the next piece under its caption.
class TPreviewAccessible : public QAccessibleWidget {
public:
    explicit TPreviewAccessible(TPreviewForm* preview) : QAccessibleWidget(preview, QAccessible::Window) {}

    QString text(QAccessible::Text type) const override
    {
        switch (type) {
        case QAccessible::Name: return widget()->windowTitle();
        case QAccessible::Description: return QStringLiteral("Das nächste Teil");
        default: return QAccessibleWidget::text(type);
        }
    }
};

// A value label read with the caption whose buddy it is. The name is joined
// only when a reader asks for it, so a counter changing during play costs
// nothing more than its own text.
class TCaptionedValueAccessible : public QAccessibleWidget {
public:
    TCaptionedValueAccessible(QLabel* value, const QLabel* caption)
        : QAccessibleWidget(value, QAccessible::StaticText), FCaption(caption)
    {
    }

    QString text(QAccessible::Text type) const override
    {
        const auto* value = static_cast<const QLabel*>(widget());
        if (type == QAccessible::Name && value->accessibleName().isEmpty())
            return FCaption->text() + QLatin1Char(' ') + value->text();
        return QAccessibleWidget::text(type);
    }

private:
    const QLabel* FCaption;
};

const QLabel* CaptionOf(const QLabel& value)
{
    if (!value.parentWidget())
        return nullptr;
    for (const QLabel* sibling : value.parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (sibling->buddy() == &value)
            return sibling;
    return nullptr;
}

QAccessibleInterface* ShellAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("TKUBRIN"))
        return new TPlayfieldAccessible(static_cast<TKUBRIN*>(object));
    if (className == QLatin1String("TPreviewForm"))
        return new TPreviewAccessible(static_cast<TPreviewForm*>(object));
    if (className == QLatin1String("QLabel")) {
        auto* label = static_cast<QLabel*>(object);
        if (const QLabel* caption = CaptionOf(*label))
            return new TCaptionedValueAccessible(label, caption);
    }
    return nullptr;
}

// Qt makes and keeps a widget's interface at the first change of its text,
// while the window is still being built, before the factory and the captions
// are in place.
void ForgetInterface(QObject* object)
{
    if (object)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(object)));
}

} // namespace

void MakeMainFormAccessible(QWidget& mainForm)
{
    QAccessible::installFactory(ShellAccessible);
    // Each caption names its counter; without a mnemonic in the caption the
    // buddy changes nothing on the screen or in the focus order.
    const char* const captionedCounters[][2] = {
        {"Label3", "LCP"}, {"Label8", "LCL"}, {"Label9", "LSCO"}, {"Label4", "LDLT"}};
    for (const auto& [captionName, counterName] : captionedCounters) {
        auto* caption = mainForm.findChild<QLabel*>(QLatin1String(captionName));
        auto* counter = mainForm.findChild<QLabel*>(QLatin1String(counterName));
        if (caption && counter)
            caption->setBuddy(counter);
        ForgetInterface(counter);
    }
    if (auto* playfield = mainForm.findChild<TKUBRIN*>()) {
        // The screen reader reads what holds the focus; the keys still go on
        // to the window, since the playfield handles none of its own.
        playfield->setFocusPolicy(Qt::StrongFocus);
        playfield->setFocus();
        ForgetInterface(playfield);
        ForgetInterface(playfield->PreviewForm());
    }
    if (auto* background = mainForm.findChild<QWidget*>(QStringLiteral("Image1")))
        background->setAccessibleName(QStringLiteral("Hintergrundbild"));
}
