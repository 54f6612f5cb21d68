#include "KeyLog.h"

#include <QFile>
#include <QKeyEvent>
#include <QKeySequence>

KeyLog::KeyLog(const QString& file, QObject* parent)
    : QObject(parent)
{
    if (!file.isEmpty())
        m_out.open(QFile::encodeName(file).toStdString(), std::ios::app | std::ios::binary);
}

QString KeyLog::keyName(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_unknown:
        return {};
    default:
        break;
    }
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const QString text = event.text();
    if ((modifiers & ~Qt::ShiftModifier) == Qt::NoModifier && text.size() == 1 && text.at(0).isPrint()
        && !text.at(0).isSpace())
        return text;
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(event.key())))
        .toString(QKeySequence::PortableText);
}

bool KeyLog::eventFilter(QObject* watched, QEvent* event)
{
    if (m_out.is_open() && (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        // The same key comes first as a shortcut override and then as a key press, and travels up
        // the widget tree: its timestamp tells one key from the next.
        const bool seen = m_hasLast && key->timestamp() == m_lastTimestamp && key->key() == m_lastKey
                          && key->modifiers() == m_lastModifiers;
        if (!seen) {
            const QString name = keyName(*key);
            if (!name.isEmpty()) {
                m_out << name.toStdString() << '\n' << std::flush;
                m_hasLast = true;
                m_lastTimestamp = key->timestamp();
                m_lastKey = key->key();
                m_lastModifiers = key->modifiers();
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
