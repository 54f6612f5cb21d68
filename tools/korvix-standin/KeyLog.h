#pragma once

#include <fstream>

#include <QObject>

class QKeyEvent;

// Appends the name of every key the program receives ("Alt+F", "G", "PgDown") to a log file, one
// per line, flushed at once, so that a test can see which keys reached the stand-in. Installed as
// an application event filter; a key seen by several widgets is logged once.
class KeyLog final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeyLog)

public:
    // Logs nothing when `file` is empty or cannot be opened.
    explicit KeyLog(const QString& file, QObject* parent = nullptr);

    // The name logged for `event`: a printable character typed without Control, Alt or Meta is
    // logged as itself ("G", "g"); anything else as its portable key-sequence text ("Alt+F",
    // "PgDown", "Return"). Empty for a modifier key alone.
    static QString keyName(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::ofstream m_out;
    unsigned long m_lastTimestamp = 0;
    int m_lastKey = 0;
    Qt::KeyboardModifiers m_lastModifiers;
    bool m_hasLast = false;
};
