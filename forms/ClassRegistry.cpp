#include "ClassRegistry.h"

#include <utility>
#include <vector>

namespace {

std::vector<std::pair<QString, TWidgetFactory>>& Registry()
{
    static std::vector<std::pair<QString, TWidgetFactory>> registry;
    return registry;
}

TWidgetFactory FactoryOf(const QString& className)
{
    for (const auto& [name, factory] : Registry())
        if (name == className)
            return factory;
    return nullptr;
}

} // namespace

void RegisterClass(const QString& className, TWidgetFactory factory)
{
    for (auto& entry : Registry())
        if (entry.first == className) {
            entry.second = factory;
            return;
        }
    Registry().emplace_back(className, factory);
}

QStringList RegisteredClasses()
{
    QStringList names;
    for (const auto& entry : Registry())
        names.append(entry.first);
    return names;
}

bool IsClassRegistered(const QString& className) { return FactoryOf(className) != nullptr; }

QWidget* CreateRegisteredWidget(const QString& className, QWidget* parent)
{
    const TWidgetFactory factory = FactoryOf(className);
    return factory ? factory(parent) : nullptr;
}
