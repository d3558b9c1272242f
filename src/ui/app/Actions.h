// One QAction per command. The menu entry, the toolbar button and a context-menu
// entry all show the same action, so a command is enabled in one place.
#pragma once

#include <QKeySequence>
#include <QString>

#include <initializer_list>

class QAction;
class QMenu;
class QToolBar;
class QWidget;

namespace kesto::ui {

// A command of `window`, named after its menu entry (mnuActionsOpen) and captioned as
// the menu shows it. The window owns it, so its shortcut works while the menus are closed.
QAction* NewCommand(QWidget* window, const char* name, const QString& caption, const QKeySequence& key = {});

// A separator line of `menu` with the design's name (mnuFileSeperator0).
void AddMenuSeparator(QMenu* menu, const char* name);

// One toolbar button: a command with the button's image and tool tip; no command makes a separator.
struct ToolbarButton {
    QAction* command = nullptr;
    const char* icon = nullptr;
    const char* tip = nullptr;
};

// Adds the buttons in order and names each button's widget "Toolbar1_Button<n>", n counting
// from 1 as the design numbers them. The image shows on the button only, not in the menu.
void AddToolbarButtons(QToolBar* toolbar, std::initializer_list<ToolbarButton> buttons);

// A context-menu entry with a caption of its own ("Open" beside the menu's "&Open Message"):
// it triggers `command` and is enabled whenever the command is.
QAction* AddBoundEntry(QMenu* menu, const char* name, const QString& caption, QAction* command);

} // namespace kesto::ui
