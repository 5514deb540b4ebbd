#include "ControlSet.h"

#include "ClassRegistry.h"
#include "ColorsBox.h"
#include "Label3D.h"

void RegisterControlSet()
{
    // The order of the set's table; a stored window finds each class by name.
    RegisterClass<TColorsBox>();
    RegisterClass<TLabel3D>();
}
