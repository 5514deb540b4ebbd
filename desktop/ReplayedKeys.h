#pragma once

// While a screen reader listens to the keys, Qt 6.4 hands each key to it
// and delivers the key again once it answers, often after a menu opened by
// Alt and a letter is already up. The Alt key delivered late then toggles
// the menu bar and closes that menu at once. Call once the application
// exists; without a screen reader nothing is delivered late and nothing
// changes.
void KeepMenusOpenAgainstLateAltKeys();
