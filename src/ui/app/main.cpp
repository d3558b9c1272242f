// Start-up: one copy per user, the board's path file, the version stamp, the main window.
#include "app/AppStart.h"
#include "app/Session.h"
#include "app/SingleInstance.h"
#include "mailbox/frmMain.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kesto"));

    kesto::ui::SingleInstance instance(QStringLiteral("Kesto"));
    if (!instance.claim()) return 0; // the running copy has been asked to come forward

    kesto::ui::Session session;
    if (!kesto::ui::LoadBoard(QDir::currentPath().toStdString(), session)) return 1;

    kesto::ui::frmMain window(session);
    instance.onActivate([&window] { window.bringToFront(); });
    window.Form_Load();
    return app.exec();
}
