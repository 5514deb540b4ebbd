#pragma once

// Registers the decorative control classes with the class registry, so that
// a stored window can name them. Runs once, before the main window exists.
void RegisterControlSet();
