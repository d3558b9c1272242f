// One copy per user: the first copy listens on a local socket in the user's
// private runtime folder; a later copy connects, asks it to come forward and
// ends. The folder is $XDG_RUNTIME_DIR, or the private folder Qt makes when
// that is missing, so no other user can take the name first.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

namespace kesto::ui {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // `name` is the socket's name inside the runtime folder.
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the only copy (it now owns the name). False when
    // another copy answered: it has been asked to come forward. Without a
    // private runtime folder the copy runs unguarded: true.
    bool Claim();
    // Called in the first copy whenever a later copy starts.
    void OnActivate(std::function<void()> handler) { activate_ = std::move(handler); }

    // The socket's full path; empty when there is no private runtime folder.
    const QString& GetServerName() const { return name_; }

  private:
    bool AskRunningCopy();
    void AcceptConnection();

    QString name_;
    QLocalServer* server_ = nullptr;
    std::function<void()> activate_;
};

} // namespace kesto::ui
