#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QTimer>
#include <QWidget>

#include "host/HostWindows.h"
#include "host/KorvixWindow.h"

class QEventLoop;

namespace Ui {
class formcomm1;
}

namespace parvane::host {

// The comments strip: a small always-on-top window at the bottom of the screen that shows the
// comment file of the stock Korvix is displaying. It finds Korvix's window (waiting for it when
// Korvix has just been started), reads its caption every 150 ms, derives the stock key from it and
// loads the stock's comment file from the active base whenever the key changes. While Korvix is
// idle (caption "Korvix") the list stays empty; the strip closes itself when the caption names no
// stock any more (Korvix was closed).
class formcomm1 final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(formcomm1)

public:
    // Returns the active base folder as zarbel.ini holds it (Windows or Linux form); asked anew at
    // every load of a comment file.
    using BaseFolder = std::function<std::string()>;

    // Places the window (hidden) at the bottom of the screen. `host` must outlive the window, and
    // the window must outlive every call of commentaires(). When no Korvix window is on the desktop,
    // commentaires() waits for one at most `windowWait`.
    formcomm1(HostWindows& host, BaseFolder baseactive, QWidget* parent = nullptr,
              std::chrono::milliseconds windowWait = kKorvixWindowWait);
    ~formcomm1() override;

    // Shows the strip, finds Korvix's window and follows it; returns when the polling ends (Korvix
    // names no stock any more, or the strip was closed). Events are processed meanwhile, so the
    // rest of the program stays live and may even call commentaires() again: the inner call
    // takes over, and both return once polling ends.
    void commentaires();

    // Korvix's window followed by the polling, 0 when none was found.
    WindowId hostHandle() const { return m_hostHandle; }

    bool isPolling() const { return m_polling; }

    // Key of the stock whose comment the list shows ("" before the first load).
    const std::string& loadedKey() const { return m_loadedKey; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Walks the stacking order from the host handle, down (`sens` true) or up, until Korvix's main
    // window (see KorvixWindow.h); the host handle is 0 when none is found.
    void recuphandlekorvix(bool& sens);

    // One polling round: read Korvix's caption, derive the stock key, load its comment file when the
    // key changed; clears the polling flag when the caption names no stock.
    void recupnomactionetcommentaire();

    // Keeps the strip on top and polls until the flag is cleared, then closes the strip.
    void boucle();

    // Returns 1 when the window was made top-most, 0 otherwise.
    std::int32_t SetTopMostWindow(WindowId& hwnd, bool& Topmost);

    void Commandcomm1_Click();
    void placeOnScreen();
    void pollOnce();
    void stopPolling();
    void loadComments(const std::string& key);

    std::unique_ptr<Ui::formcomm1> m_ui;
    HostWindows& m_host;
    BaseFolder m_baseactive;
    std::chrono::milliseconds m_windowWait;
    QTimer m_pollTimer;
    std::vector<QEventLoop*> m_loops; // nested polling loops, innermost last
    WindowId m_hostHandle = 0;
    WindowId m_lastVisitedHandle = 0;
    bool m_polling = false;
    std::string m_caption;
    std::string m_stockKey;
    std::string m_loadedKey;
};

} // namespace parvane::host
