#include "app/Icons.h"

#include <QCoreApplication>
#include <QHash>

static void InitKestoIconResource() {
    Q_INIT_RESOURCE(kesto_icons);
}

namespace kesto::ui {

void InitIcons() {
    static const bool kDone = [] {
        InitKestoIconResource();
        return true;
    }();
    (void)kDone;
}

QIcon Icon(const QString& key) {
    InitIcons();
    // QIcon is implicitly shared; caching avoids re-reading the PNG for every row painted.
    static QHash<QString, QIcon> cache;
    static const bool kCleanup = [] {
        // Pixmaps must go before the application object does.
        qAddPostRoutine([] { cache.clear(); });
        return true;
    }();
    (void)kCleanup;
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.insert(key, QIcon(QStringLiteral(":/icons/") + key));
    return *it;
}

QIcon Icon(const char* key) {
    return Icon(QString::fromLatin1(key));
}

} // namespace kesto::ui
