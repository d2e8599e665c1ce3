#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

struct AppContext;
struct Reading;
class frmMain;
class frmMoonSign;

// The flow between the windows: the birth-details window for the whole run,
// a results window for each reading, Back from the results to the form. The
// windows ask by signal; only this object shows, hides and closes them.
class WindowFlow : public QObject {
    Q_OBJECT

public:
    explicit WindowFlow(AppContext &context, QObject *parent = nullptr);
    ~WindowFlow() override;

    frmMain &birthDetails() const { return *m_main; }
    // The results of the latest reading while they are shown; none otherwise.
    frmMoonSign *results() const;

    // Shows the birth-details window.
    void start();

Q_SIGNALS:
    // A window was closed or an exit command chosen: the run ends.
    void quitRequested();

private:
    void showReading(const Reading &reading);
    void goBack();
    void dismissResults();

    AppContext &m_context;
    std::unique_ptr<frmMain> m_main;
    QPointer<frmMoonSign> m_results;
};
