#include "ControlSet.h"

#include "ClassRegistry.h"
#include "Label3D.h"

void RegisterControlSet()
{
    // The order of the set's table; a stored window finds each class by name.
    RegisterClass<TLabel3D>();
}
