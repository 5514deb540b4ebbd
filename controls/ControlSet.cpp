#include "ControlSet.h"

#include "ClassRegistry.h"

void RegisterControlSet()
{
}
