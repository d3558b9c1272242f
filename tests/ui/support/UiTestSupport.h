// Helpers every window test uses: finding controls by objectName, driving the
// modal window a command opens, and declaring a Qt warning a test provokes.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

namespace kesto::test {

inline QStringList Strings(std::initializer_list<const char*> items) {
    QStringList out;
    for (const char* s : items) out << QString::fromUtf8(s);
    return out;
}

// The child of `parent` named `name`; a missing one fails the test.
template <class T = QWidget>
T* Child(const QObject* parent, const char* name) {
    T* c = parent->findChild<T*>(QLatin1String(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}
template <class T = QWidget>
T* Child(const QObject& parent, const char* name) {
    return Child<T>(&parent, name);
}
inline QAction* Act(const QObject& w, const char* name) {
    return Child<QAction>(w, name);
}
inline QLineEdit* Edit(const QObject& w, const char* name) {
    return Child<QLineEdit>(w, name);
}
// Push buttons, and toolbar buttons by their design names ("Toolbar1_Button7").
inline QAbstractButton* Button(const QObject& w, const char* name) {
    return Child<QAbstractButton>(w, name);
}
inline QString LabelText(const QObject& w, const char* name) {
    const QLabel* l = Child<QLabel>(w, name);
    return l ? l->text() : QStringLiteral("<missing>");
}

// Runs `act` on the modal window the next statement opens (nullptr when none is
// up by then) and closes it if `act` left it open.
inline void OnNextModal(const std::function<void(QWidget*)>& act) {
    QTimer::singleShot(0, [act] {
        QPointer<QWidget> w = QApplication::activeModalWidget();
        act(w);
        if (w && w->isVisible()) w->close();
    });
}

// Runs `act` on the modal window named `name` once it is up, polling, so it does
// not matter how many events the opening takes. A window still open afterwards is
// rejected, so a failing test never hangs. Polling stops when `context` goes away.
inline void OnModal(QObject* context, const QString& name, const std::function<void(QWidget*)>& act,
                    int triesLeft = 200) {
    QTimer::singleShot(10, context, [context, name, act, triesLeft] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w->objectName() != name) {
            if (triesLeft > 0) OnModal(context, name, act, triesLeft - 1);
            return;
        }
        act(w);
        if (QApplication::activeModalWidget() == w)
            QMetaObject::invokeMethod(w, "reject", Qt::QueuedConnection);
    });
}

// A Qt warning fails the running test (see UiTestMain.cpp). A test that provokes
// one on purpose declares it: while this lives, warnings starting with `prefix` pass,
// and at its end at least one must have come.
class ExpectQtWarning {
  public:
    explicit ExpectQtWarning(QString prefix);
    ~ExpectQtWarning();
    ExpectQtWarning(const ExpectQtWarning&) = delete;
    ExpectQtWarning& operator=(const ExpectQtWarning&) = delete;

    QString prefix;
    int seen = 0;
};

} // namespace kesto::test
