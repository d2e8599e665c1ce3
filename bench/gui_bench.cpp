// Window timings on the offscreen platform: a reading from the press of
// "Get Moon Sign Compatibility" until the results window has been painted,
// building the report window from the results, and saving the report.

#include "tests/gui_support.h"

#include "app/resources.h"
#include "app/ui_font.h"
#include "entry/place_finder.h"
#include "results/frm_save.h"

#include <QListView>

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

// Counts the paint events a window and its children receive.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// The couple every reading uses.
void fillCouple(Session &session)
{
    Person man;
    man.name = QStringLiteral("John");
    man.month = 6;
    man.day = 14;
    man.year = 1975;
    man.hour = 10;
    man.minute = 30;
    man.city = QStringLiteral("Madrid");
    man.country = QStringLiteral("Spain");
    man.lonD = QStringLiteral("3");
    man.lonM = QStringLiteral("42");
    man.west = true;
    man.latD = QStringLiteral("40");
    man.latM = QStringLiteral("25");
    Person woman;
    woman.name = QStringLiteral("Mary");
    woman.month = 4;
    woman.day = 12;
    woman.year = 1978;
    woman.hour = 23;
    woman.minute = 5;
    woman.city = QStringLiteral("London");
    woman.country = QStringLiteral("UK");
    fillPerson(*session.main, man, true);
    fillPerson(*session.main, woman, false);
}

// Handles pending events until the window has been painted at least once.
bool paintedAfterEvents(QWidget *window)
{
    PaintCounter counter;
    window->installEventFilter(&counter);
    for (int round = 0; round < 100 && counter.paints == 0; ++round)
        QCoreApplication::processEvents();
    window->removeEventFilter(&counter);
    return counter.paints > 0;
}

// Lets the hidden windows go and the shown one paint, outside any timing.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Presses "Get Moon Sign Compatibility" and waits for the results window's
// first paint; nullptr when none was painted or a message box came instead.
frmMoonSign *pressAndPaint(Session &session)
{
    session.main->cmdRashi->click();
    frmMoonSign *results = session.results();
    if (!results || !paintedAfterEvents(results) || !session.recorder.boxes.empty())
        return nullptr;
    return results;
}

// The couple's reading, shown once, for the report benchmarks.
struct ShownReading {
    Session session;
    frmMoonSign *results = nullptr;

    ShownReading()
    {
        fillCouple(session);
        results = pressAndPaint(session);
    }
};

// The first reading of a process, with nothing loaded or cached yet. Only
// meaningful as the first benchmark a process runs, one iteration.
void BM_FirstReading(benchmark::State &state)
{
    Session session;
    fillCouple(session);
    settle();
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        frmMoonSign *results = pressAndPaint(session);
        state.SetIterationTime(seconds(start, Clock::now()));
        if (!results) {
            state.SkipWithError("no painted results window");
            break;
        }
    }
}
BENCHMARK(BM_FirstReading)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// Times each iteration's step, which says whether it did its work.
template <typename Step>
void timeEach(benchmark::State &state, Step step, const char *failure)
{
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        const bool done = step();
        state.SetIterationTime(seconds(start, Clock::now()));
        if (!done) {
            state.SkipWithError(failure);
            break;
        }
    }
}

// The place offers for a city, from the look-up until the list is painted.
bool offersPainted(Session &session)
{
    PlaceFinder *finder = session.main->placeFinder(true);
    session.main->txtMCity->setFocus();
    finder->offerPlaces(QStringLiteral("Pune"));
    const bool painted = finder->offers() && finder->offers()->isVisible() && paintedAfterEvents(finder->offers());
    if (finder->offers())
        finder->offers()->hide();
    return painted;
}

// The first offers of a process: with the atlas's places first read by the
// look-up itself (range 0, as before), or read on a thread from the first
// frame, as the program does (range 1); asked for as soon as the form is drawn
// (range 0) or as soon as a user could, after two letters and the pause
// before offers (range 400 ms). Only meaningful as the first benchmark a
// process runs, one iteration.
void BM_FirstOffers(benchmark::State &state)
{
    Session session;
    session.context.atlas = MakeSystemAtlas();
    session.open();
    if (!session.main->placeFinder(true)) {
        state.SkipWithError("built without the atlas");
        return;
    }
    paintedAfterEvents(session.main);
    const std::jthread preparing = state.range(0) ? PrepareInBackground(session.context.atlas) : std::jthread();
    std::this_thread::sleep_for(std::chrono::milliseconds(state.range(1)));
    timeEach(state, [&] { return offersPainted(session); }, "no offers painted");
}
BENCHMARK(BM_FirstOffers)
    ->ArgsProduct({{0, 1}, {0, 400}})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Offers once the places are read.
void BM_LaterOffers(benchmark::State &state)
{
    Session session;
    session.context.atlas = MakeSystemAtlas();
    session.open();
    if (!session.main->placeFinder(true) || !offersPainted(session)) {
        state.SkipWithError("built without the atlas");
        return;
    }
    timeEach(state, [&] { return offersPainted(session); }, "no offers painted");
}
BENCHMARK(BM_LaterOffers)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Reading(benchmark::State &state)
{
    Session session;
    fillCouple(session);
    settle();
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        frmMoonSign *results = pressAndPaint(session);
        state.SetIterationTime(seconds(start, Clock::now()));
        if (!results) {
            state.SkipWithError("no painted results window");
            break;
        }
        results->cmdBack->click();
        settle();
        if (session.results()) {
            state.SkipWithError("Back left the results window alive");
            break;
        }
    }
}
BENCHMARK(BM_Reading)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_BuildReport(benchmark::State &state)
{
    ShownReading reading;
    if (!reading.results) {
        state.SkipWithError("no results window");
        return;
    }
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        auto report = std::make_unique<frmSave>(reading.results->reading(), reading.results);
        state.SetIterationTime(seconds(start, Clock::now()));
        if (report->runs().empty()) {
            state.SkipWithError("empty report");
            break;
        }
        report.reset();
        settle();
    }
}
BENCHMARK(BM_BuildReport)->UseManualTime()->Unit(benchmark::kMillisecond);

// Times building, showing and painting the report window from a results
// window, once per iteration.
void TimeReportWindow(benchmark::State &state, frmMoonSign &results)
{
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        auto report = std::make_unique<frmSave>(results.reading(), &results);
        report->show();
        const bool painted = paintedAfterEvents(report.get());
        state.SetIterationTime(seconds(start, Clock::now()));
        if (!painted) {
            state.SkipWithError("report window not painted");
            break;
        }
        report.reset();
        settle();
    }
}

// Building, showing and painting the report window, as Print does.
void BM_ShowReport(benchmark::State &state)
{
    ShownReading reading;
    if (!reading.results) {
        state.SkipWithError("no results window");
        return;
    }
    TimeReportWindow(state, *reading.results);
}
BENCHMARK(BM_ShowReport)->UseManualTime()->Unit(benchmark::kMillisecond);

// The report with every typed box (name, city, state and country of both)
// full of web addresses: state.range(0) addresses per box, built, shown and
// painted.
void BM_ReportFullOfLinks(benchmark::State &state)
{
    ShownReading reading;
    if (!reading.results) {
        state.SkipWithError("no results window");
        return;
    }
    QString addresses;
    for (int64_t i = 0; i < state.range(0); ++i)
        addresses += QStringLiteral("http://example.org/%1 ").arg(i);
    frmMoonSign &r = *reading.results;
    for (QLineEdit *box : {r.txtUserM, r.txtCityM, r.txtStateM, r.txtCountryM, r.txtUserF, r.txtCityF, r.txtStateF,
                           r.txtCountryF})
        box->setText(addresses);
    TimeReportWindow(state, r);
    state.counters["addresses"] = static_cast<double>(8 * state.range(0));
}
BENCHMARK(BM_ReportFullOfLinks)->UseManualTime()->Arg(1024)->Arg(4096)->Unit(benchmark::kMillisecond);

void BM_SaveReport(benchmark::State &state)
{
    ShownReading reading;
    QTemporaryDir folder;
    if (!reading.results || !folder.isValid()) {
        state.SkipWithError("no results window or temporary folder");
        return;
    }
    const frmSave report(reading.results->reading(), reading.results);
    const QString path = folder.filePath(QStringLiteral("report.rtf"));
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        const QString error = SaveReportFile(path, report.runs());
        state.SetIterationTime(seconds(start, Clock::now()));
        if (!error.isEmpty()) {
            state.SkipWithError("saving failed");
            break;
        }
    }
}
BENCHMARK(BM_SaveReport)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // Windows are drawn into memory; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QApplication app(argc, argv);
    InitResources();
    QApplication::setFont(VerdanaFont(9));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
