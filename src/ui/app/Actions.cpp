#include "app/Actions.h"

#include "app/Icons.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QWidget>

namespace kesto::ui {

QAction* NewCommand(QWidget* window, const char* name, const QString& caption, const QKeySequence& key) {
    auto* a = new QAction(caption, window);
    a->setObjectName(QLatin1String(name));
    if (!key.isEmpty()) a->setShortcut(key);
    window->addAction(a);
    return a;
}

void AddMenuSeparator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

void AddToolbarButtons(QToolBar* toolbar, std::initializer_list<ToolbarButton> buttons) {
    int index = 0;
    for (const ToolbarButton& b : buttons) {
        ++index;
        QAction* shown = b.command;
        if (shown) {
            shown->setIcon(Icon(b.icon));
            shown->setIconVisibleInMenu(false);
            shown->setToolTip(QString::fromLatin1(b.tip));
            toolbar->addAction(shown);
        } else {
            shown = toolbar->addSeparator();
        }
        toolbar->widgetForAction(shown)->setObjectName(QStringLiteral("Toolbar1_Button%1").arg(index));
    }
}

QAction* AddBoundEntry(QMenu* menu, const char* name, const QString& caption, QAction* command) {
    QAction* entry = menu->addAction(caption);
    entry->setObjectName(QLatin1String(name));
    entry->setEnabled(command->isEnabled());
    QObject::connect(entry, &QAction::triggered, command, &QAction::trigger);
    QObject::connect(command, &QAction::enabledChanged, entry, &QAction::setEnabled);
    return entry;
}

} // namespace kesto::ui
