#include "mainwindow/ParvaneProgram.h"

#include <QDateTime>
#include <QString>
#include <QTreeWidget>

#include "core/scan/PathMapping.h"
#include "dialogs/MessageBoxes.h"
#include "dialogs/frmselgroupe.h"
#include "dialogs/frmselpath.h"
#include "host/HostWindows.h"
#include "host/KorvixCommand.h"
#include "host/formcomm1.h"
#include "host/x11/X11HostWindows.h"
#include "mainwindow/ChartWindow.h"
#include "mainwindow/tendancesForm1.h"
#include "print/CPrintListView.h"
#include "print/ResultsPrint.h"
#include "print/TreeWidgetPrintableList.h"

namespace parvane::mainwindow {

ParvaneProgram::ParvaneProgram(std::filesystem::path programFolder, dialogs::MessageBoxes& messages,
                               std::unique_ptr<host::HostWindows> host)
    : m_programFolder(std::move(programFolder))
    , m_messages(messages)
    , m_window(std::make_unique<tendancesForm1>(m_programFolder, messages))
    , m_printer(std::make_unique<print::CPrintListView>())
    , m_host(host ? std::move(host) : host::createDesktopHostWindows())
{
    wirePrinter();
    wireDialogs();
    wireKorvix();
    m_chart = std::make_unique<ChartWindow>(*m_window, m_messages);
}

ParvaneProgram::~ParvaneProgram() = default;

bool ParvaneProgram::startUp()
{
    return m_window->startUp();
}

void ParvaneProgram::wirePrinter()
{
    print::configureResultsPrinter(
        *m_printer, std::make_shared<print::TreeWidgetPrintableList>(m_window->resultsList()), {});
    m_window->setPrintCommand([this] {
        print::ResultsPrintContext context;
        context.programFolder = m_programFolder;
        m_window->showStatus(print::printResults(*m_printer, QDateTime::currentDateTime(), context).status);
    });
}

void ParvaneProgram::wireDialogs()
{
    m_window->setPathDialog([this] {
        dialogs::frmselpath dialog(m_window.get(), m_programFolder, m_window->isBaseSelection(), m_messages,
                                   m_window->pathEnvironment());
        dialog.exec();
    });
    m_window->setGroupDialog([this] {
        const scan::Settings& settings = m_window->settings();
        dialogs::frmselgroupe dialog(
            m_window.get(),
            scan::BaseLayout::resolve(m_window->activeBaseFolder(), settings.droite, settings.histo),
            m_window->selection(), m_window.get(), m_messages);
        dialog.exec();
    });
}

void ParvaneProgram::wireKorvix()
{
    m_korvix = std::make_unique<host::KorvixCommand>(*m_host);
    // The comments strip exists, hidden, for the whole life of the program.
    m_comments = std::make_unique<host::formcomm1>(*m_host, [this] { return m_window->activeBase(); });
    m_window->setKorvixCommand([this] {
        host::KorvixCommandInputs inputs;
        inputs.encours = m_window->isRunning();
        inputs.Check1 = m_window->isGroupPreselection();
        inputs.Option1 = m_window->isWithComments();
        inputs.pathkvx = m_window->settings().pathkvx;
        inputs.baseactive = m_window->activeBase();
        inputs.programFolder = m_programFolder;
        host::KorvixCommandHooks hooks;
        hooks.minimiseMainWindow = [this] { m_window->minimise(); };
        hooks.commentaires = [this] { m_comments->commentaires(); };
        hooks.report = [this](const QString& title, const QString& text) {
            m_messages.information(m_window.get(), title, text);
        };
        m_korvix->click(inputs, hooks);
    });
}

} // namespace parvane::mainwindow
