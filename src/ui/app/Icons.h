// The 16x16 images shared by every window, by key ("new", "open", "reply", ...).
// They are embedded as resources under ":/icons/<key>".
#pragma once

#include <QIcon>

namespace kesto::ui {

// Makes ":/icons/<key>" resolvable (the resources sit in a static library, so
// they are registered on first use rather than by a static initializer).
void InitIcons();
// The image for `key`; a null icon for an unknown key.
QIcon Icon(const char* key);
QIcon Icon(const QString& key);

} // namespace kesto::ui
