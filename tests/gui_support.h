#pragma once

#include "app/app_context.h"
#include "app/message_box.h"
#include "app/window_flow.h"
#include "entry/birth_ranges.h"
#include "entry/frm_main.h"
#include "links/url_opener.h"
#include "results/frm_moon_sign.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>

#include <memory>
#include <vector>

// Records message boxes and opened addresses instead of showing or opening
// them, for as long as it lives.
struct Recorder {
    struct Box {
        QString text;
        QMessageBox::Icon icon;
    };
    std::vector<Box> boxes;
    QStringList questions;
    bool answer = false; // to every question
    QStringList urls;
    int quits = 0;

    Recorder()
    {
        MessageBox::setHandler([this](QWidget *, const QString &text, QMessageBox::Icon icon) {
            boxes.push_back({text, icon});
        });
        MessageBox::setAnswerHandler([this](QWidget *, const QString &text) {
            questions.append(text);
            return answer;
        });
        UrlOpener::setHandler([this](const QString &address) { urls.append(address); });
    }
    ~Recorder()
    {
        MessageBox::setHandler({});
        MessageBox::setAnswerHandler({});
        UrlOpener::setHandler({});
    }
    Recorder(const Recorder &) = delete;
    Recorder &operator=(const Recorder &) = delete;
};

// One person's birth details as typed into the form.
struct Person {
    QString name = QStringLiteral("Person");
    int month = 1, day = 1, year = 2000, hour = 12, minute = 0, second = 0;
    QString city{}, state{}, country{};
    QString lonD = QStringLiteral("0"), lonM = QStringLiteral("0");
    QString latD = QStringLiteral("51"), latM = QStringLiteral("28");
    bool west = false, south = false, dst = false;
    int zone = 29;
};

inline void typeInto(QLineEdit *box, const QString &text)
{
    box->setText(text);
}

inline void fillPerson(frmMain &w, const Person &p, bool male)
{
    auto find = [&](const char *prefix, const char *suffix) {
        return QLatin1String(prefix) + (male ? QLatin1Char('M') : QLatin1Char('F')) + QLatin1String(suffix);
    };
    auto edit = [&](const char *prefix, const char *suffix) { return w.findChild<QLineEdit *>(find(prefix, suffix)); };
    auto list = [&](const char *suffix) { return w.findChild<QComboBox *>(find("cbo", suffix)); };
    typeInto(edit("txt", "Name"), p.name);
    list("Month")->setCurrentIndex(p.month - 1);
    list("Date")->setCurrentIndex(p.day - 1);
    list("Year")->setCurrentIndex(YearRange.position(p.year));
    list("HH")->setCurrentIndex(p.hour);
    list("MM")->setCurrentIndex(p.minute);
    list("SS")->setCurrentIndex(p.second);
    typeInto(edit("txt", "City"), p.city);
    typeInto(edit("txt", "State"), p.state);
    typeInto(edit("txt", "Country"), p.country);
    typeInto(edit("txt", "LonD"), p.lonD);
    typeInto(edit("txt", "LonM"), p.lonM);
    typeInto(edit("txt", "LatD"), p.latD);
    typeInto(edit("txt", "LatM"), p.latM);
    w.findChild<QButtonGroup *>(find("opt", "Long"))->button(p.west ? 1 : 0)->setChecked(true);
    w.findChild<QButtonGroup *>(find("opt", "Lat"))->button(p.south ? 1 : 0)->setChecked(true);
    w.findChild<QComboBox *>(find("cmb", "TimeZone"))->setCurrentIndex(p.zone);
    w.findChild<QCheckBox *>(find("chk", "DST"))->setChecked(p.dst);
}

// A fresh run: the context, the windows and a recorder; requests to end
// the run are counted.
struct Session {
    Recorder recorder;
    AppContext context;
    std::unique_ptr<WindowFlow> flow;
    frmMain *main = nullptr;

    Session() { open(); }

    // The windows afresh, on the context as it now is (an atlas or a store
    // set since).
    void open()
    {
        flow.reset();
        flow = std::make_unique<WindowFlow>(context);
        QObject::connect(flow.get(), &WindowFlow::quitRequested, [this] { ++recorder.quits; });
        main = &flow->birthDetails();
        flow->start();
    }

    // The results window of the latest reading while it is shown.
    frmMoonSign *results() const { return flow->results(); }

    frmMoonSign *read(const Person &man, const Person &woman)
    {
        fillPerson(*main, man, true);
        fillPerson(*main, woman, false);
        main->cmdRashi->click();
        return results();
    }
};
