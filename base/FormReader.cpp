#include "FormReader.h"

#include "ClassRegistry.h"

#include <QFile>
#include <QWidget>

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

QWidget* TFormReader::Read(QIODevice& device, QWidget* parent) { return load(&device, parent); }

QWidget* TFormReader::Read(const QString& path, QWidget* parent)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    return load(&file, parent);
}
