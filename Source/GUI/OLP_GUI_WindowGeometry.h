#pragma once

class QWidget;

// Window positions kept per camera product in the GUI settings, under the
// window's object name. A window without an object name is neither saved nor
// restored.
//
// GUI thread only.
class OLP_GUI_WindowGeometry
{
public:
    // Stores the window's geometry (left, top, width, height).
    static void save(const QWidget* window);
    // Applies the stored geometry when its title strip lies on a screen,
    // moved and shrunk into that screen's available area; otherwise the
    // window keeps its geometry. True when a stored rectangle was applied.
    static bool restoreOnScreen(QWidget* window);
    // Applies the stored geometry as it is (the camera window), when its title
    // strip lies on a screen; otherwise the window keeps its geometry.
    static bool restoreAsStored(QWidget* window);
};
