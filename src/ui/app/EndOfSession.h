// The ends of a run that do not go through File > Exit: SIGTERM, SIGHUP and SIGINT
// (a logout, a kill, Ctrl+C in the terminal), turned into a Qt signal on the event
// loop. The handler itself only writes one byte to a pipe.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace kesto::ui {

class EndOfSession : public QObject {
    Q_OBJECT
  public:
    // Installs the handlers for the life of this object; one object at a time.
    explicit EndOfSession(QObject* parent = nullptr);
    ~EndOfSession() override;

  signals:
    void EndRequested(int signalNumber);

  private:
    void ReadPipe();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace kesto::ui
