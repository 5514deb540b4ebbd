#include "FormReader.h"

#include "ClassRegistry.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QMetaProperty>
#include <QWidget>
#include <QXmlStreamReader>

#include <limits>
#include <memory>

namespace {

// Properties that a class reads from older stored windows without having
// them any more, listed in its class info under this name, comma-separated.
constexpr char ObsoleteProperties[] = "ObsoleteProperties";
// Properties that the form builder handles itself instead of writing them.
const QStringList BuilderProperties{QStringLiteral("buddy")};

bool IsObsolete(const QMetaObject& meta, const QString& name)
{
    const int index = meta.indexOfClassInfo(ObsoleteProperties);
    return index >= 0
           && QString::fromLatin1(meta.classInfo(index).value()).split(QLatin1Char(',')).contains(name);
}

template <class TInteger>
bool Fits(const QString& text)
{
    bool ok = false;
    if constexpr (std::numeric_limits<TInteger>::is_signed) {
        const qlonglong value = text.trimmed().toLongLong(&ok);
        return ok && value >= std::numeric_limits<TInteger>::min() && value <= std::numeric_limits<TInteger>::max();
    } else {
        const QString digits = text.trimmed();
        const qulonglong value = digits.toULongLong(&ok);
        return ok && !digits.startsWith(QLatin1Char('-')) && value <= std::numeric_limits<TInteger>::max();
    }
}

// Why a stored value cannot go into the property, or an empty text. Only the
// kinds a value can silently be converted between are checked: whole
// numbers, truth values and texts.
QString CheckValue(const QMetaProperty& property, const QString& kind, const QString& text)
{
    static const QStringList WholeNumbers{"number", "UInt", "longlong", "uLongLong"};
    const auto refuse = [&](const QString& what) {
        return QStringLiteral("property \"%1\" takes %2, not <%3>%4</%3>")
            .arg(QString::fromLatin1(property.name()), what, kind, text.left(40));
    };
    if (property.isEnumType())
        return {};
    switch (property.metaType().id()) {
    case QMetaType::Bool:
        return kind == QLatin1String("bool") && (text == QLatin1String("true") || text == QLatin1String("false"))
                   ? QString()
                   : refuse(QStringLiteral("true or false"));
    case QMetaType::QString:
        return kind == QLatin1String("string") || kind == QLatin1String("cstring") ? QString()
                                                                                    : refuse(QStringLiteral("a text"));
    case QMetaType::Int:
        return WholeNumbers.contains(kind) && Fits<qint32>(text) ? QString()
                                                                 : refuse(QStringLiteral("a 32-bit whole number"));
    case QMetaType::UInt:
        return WholeNumbers.contains(kind) && Fits<quint32>(text)
                   ? QString()
                   : refuse(QStringLiteral("an unsigned 32-bit whole number"));
    case QMetaType::LongLong:
        return WholeNumbers.contains(kind) && Fits<qint64>(text) ? QString()
                                                                 : refuse(QStringLiteral("a 64-bit whole number"));
    case QMetaType::ULongLong:
        return WholeNumbers.contains(kind) && Fits<quint64>(text)
                   ? QString()
                   : refuse(QStringLiteral("an unsigned 64-bit whole number"));
    default:
        return {};
    }
}

// Reads a property of a widget of the given class to its end; why it cannot
// be stored, or an empty text.
QString CheckProperty(QXmlStreamReader& reader, const QMetaObject& meta)
{
    const QString name = reader.attributes().value(QLatin1String("name")).toString();
    const int index = meta.indexOfProperty(name.toLatin1().constData());
    if (index < 0) {
        reader.skipCurrentElement();
        if (IsObsolete(meta, name) || BuilderProperties.contains(name))
            return {};
        return QStringLiteral("class \"%1\" has no property \"%2\"").arg(QString::fromLatin1(meta.className()), name);
    }
    if (!reader.readNextStartElement())
        return {};
    const QString kind = reader.name().toString();
    const QString text = reader.readElementText(QXmlStreamReader::IncludeChildElements);
    reader.skipCurrentElement();
    return CheckValue(meta.property(index), kind, text);
}

} // namespace

TFormReader::TFormReader(QObject* parent) : QUiLoader(parent)
{
    setTranslationEnabled(false);
    clearPluginPaths();
}

QWidget* TFormReader::createWidget(const QString& className, QWidget* parent, const QString& name)
{
    if (QWidget* widget = CreateRegisteredWidget(className, parent)) {
        widget->setObjectName(name);
        return widget;
    }
    return QUiLoader::createWidget(className, parent, name);
}

QString TFormReader::ErrorString() const { return FError.isEmpty() ? errorString() : FError; }

QWidget* TFormReader::Read(QIODevice& device, QWidget* parent)
{
    QByteArray description = device.readAll();
    FError = Check(description);
    if (!FError.isEmpty())
        return nullptr;
    QBuffer checked(&description);
    checked.open(QIODevice::ReadOnly);
    return load(&checked, parent);
}

QWidget* TFormReader::Read(const QString& path, QWidget* parent)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        FError = QStringLiteral("cannot open %1").arg(path);
        return nullptr;
    }
    return Read(file, parent);
}

QString TFormReader::Check(const QByteArray& description)
{
    // Qt's own reader of descriptions recurses once per level; a deep
    // enough description would overflow the stack.
    QXmlStreamReader levels(description);
    int depth = 0;
    while (!levels.atEnd()) {
        const QXmlStreamReader::TokenType token = levels.readNext();
        if (token == QXmlStreamReader::StartElement && ++depth > MostNestedLevels)
            return QStringLiteral("line %1: nested deeper than %2 levels").arg(levels.lineNumber()).arg(MostNestedLevels);
        if (token == QXmlStreamReader::EndElement)
            --depth;
    }
    if (levels.hasError())
        return QStringLiteral("line %1: %2").arg(levels.lineNumber()).arg(levels.errorString());

    // What each class can store, learnt from an instance of it: Qt's own
    // classes have no registry to ask.
    QHash<QString, const QMetaObject*> classes;
    const auto metaObjectOf = [&](const QString& className) {
        if (!classes.contains(className)) {
            const std::unique_ptr<QWidget> instance(createWidget(className));
            classes.insert(className, instance ? instance->metaObject() : nullptr);
        }
        return classes.value(className);
    };
    const QStringList layouts = availableLayouts();

    QXmlStreamReader reader(description);
    // The widgets from the root down to the element being read.
    QList<const QMetaObject*> widgets;
    QStringList elements;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement() && elements.takeLast() == QLatin1String("widget"))
            widgets.removeLast();
        if (!reader.isStartElement())
            continue;
        const QString element = reader.name().toString();
        const QString className = reader.attributes().value(QLatin1String("class")).toString();
        QString refused;
        if (element == QLatin1String("widget")) {
            widgets.append(metaObjectOf(className));
            if (!widgets.last())
                refused = QStringLiteral("unknown class \"%1\"").arg(className);
        } else if (element == QLatin1String("layout") && !layouts.contains(className)) {
            refused = QStringLiteral("unknown layout \"%1\"").arg(className);
        } else if (element == QLatin1String("property") && !elements.isEmpty()
                   && elements.last() == QLatin1String("widget")) {
            // Read to the property's end here, so it is never on the path.
            refused = CheckProperty(reader, *widgets.last());
            if (refused.isEmpty())
                continue;
        }
        if (!refused.isEmpty())
            return QStringLiteral("line %1: %2").arg(reader.lineNumber()).arg(refused);
        elements.append(element);
    }
    return {};
}
