#pragma once

#include <QMainWindow>

class QLabel;
class QMenu;

// The gallery's window: the stored description gallery.ui, read through the
// form reader so that every control of the set is made by the class
// registry, under a menu from which each control's About can be set. The
// switch and the slider show their values in a label beside them, and a
// line under the movable controls reports every move.
//
// The control set must be registered before the window is made.
class TGalleryWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit TGalleryWindow(QWidget* parent = nullptr);

    // What was read from the stored description.
    QWidget* Form() const { return FForm; }
    // One entry for each control of the set, in the order of the set.
    QMenu* InfoMenu() const { return FInfoMenu; }

private slots:
    void ControlMoved(QObject* Sender);

private:
    void ConnectMovedControls();
    void BuildMenus();

    QWidget* FForm = nullptr;
    QMenu* FInfoMenu = nullptr;
    QLabel* FMovedReport = nullptr;
};
