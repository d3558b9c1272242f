// One copy per user: the first copy listens on a local socket named for
// "Kesto" and the user; a later copy connects, asks it to come forward and ends.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

namespace kesto::ui {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // `name` is the bare server name; the user's id is appended to it.
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the only copy (it now owns the name). False when
    // another copy answered: it has been asked to come forward.
    bool claim();
    // Called in the first copy whenever a later copy starts.
    void onActivate(std::function<void()> handler) { activate_ = std::move(handler); }

    const QString& serverName() const { return name_; }

  private:
    bool askRunningCopy();
    void acceptConnection();

    QString name_;
    QLocalServer* server_ = nullptr;
    std::function<void()> activate_;
};

} // namespace kesto::ui
