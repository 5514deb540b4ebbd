#include "ControlSet.h"

#include "ClassRegistry.h"
#include "ColorsBox.h"
#include "Label3D.h"
#include "MovedControls.h"
#include "MultiSwitch.h"
#include "Slider.h"

void RegisterControlSet()
{
    // The order of the set's table; a stored window finds each class by name.
    RegisterClass<TMultiSwitch>();
    RegisterClass<TSlider>();
    RegisterMovedControls();
    RegisterClass<TColorsBox>();
    RegisterClass<TLabel3D>();
}
