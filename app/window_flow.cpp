#include "app/window_flow.h"

#include "app/app_context.h"
#include "app/window_fit.h"
#include "entry/frm_main.h"
#include "results/frm_moon_sign.h"

WindowFlow::WindowFlow(AppContext &context, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_main(std::make_unique<frmMain>(context))
{
    connect(m_main.get(), &frmMain::readingMade, this, &WindowFlow::showReading);
    connect(m_main.get(), &frmMain::quitRequested, this, &WindowFlow::quitRequested);
}

WindowFlow::~WindowFlow()
{
    delete m_results;
}

frmMoonSign *WindowFlow::results() const
{
    return m_results;
}

void WindowFlow::start()
{
    m_main->show();
}

void WindowFlow::showReading(const Reading &reading)
{
    // Every reading gets a window of its own.
    dismissResults();
    m_results = new frmMoonSign(reading, &m_context);
    connect(m_results, &frmMoonSign::backRequested, this, &WindowFlow::goBack);
    connect(m_results, &frmMoonSign::quitRequested, this, &WindowFlow::quitRequested);

    // The results open over the form, centred where the form was, as far as
    // the screen allows.
    PlaceWindow(m_results, m_main->frameGeometry().center());
    m_results->show();
    m_main->hide();
}

void WindowFlow::goBack()
{
    m_main->show();
    dismissResults();
}

void WindowFlow::dismissResults()
{
    if (!m_results)
        return;
    // Closing for Back does not end the run.
    disconnect(m_results, &frmMoonSign::quitRequested, this, &WindowFlow::quitRequested);
    m_results->close();
}
