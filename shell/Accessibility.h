#pragma once

class QWidget;

// What a screen reader reads of the main window: the playfield as a named
// picture of the game, the preview by its caption, and each counter with
// its caption ("Punkte: 143"). Call once the window's widgets exist; nothing
// visible changes.
void MakeMainFormAccessible(QWidget& mainForm);
