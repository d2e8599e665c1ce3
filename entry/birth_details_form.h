#pragma once

#include "entry/person_details.h"
#include "entry/validation.h"

#include <QGroupBox>
#include <QList>

class Atlas;
class LinkLabel;
class PlaceFinder;
class QAbstractItemModel;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ZoneListModel;

// The read-only lists both people choose from: one set of entries, shared.
struct BirthLists {
    QAbstractItemModel *months, *days, *years, *hours, *minutes, *seconds;
    QStringList zoneTexts;
};
// The lists, owned by the given object.
BirthLists MakeBirthLists(QObject *owner);

// One person's birth details: the controls, their place finder and zone
// list. The form offers what is entered as a value and takes one back.
class BirthDetailsForm : public QGroupBox {
    Q_OBJECT

public:
    enum class Whose { Man, Partner };

    // Without an atlas there is no place finder.
    BirthDetailsForm(Whose whose, const BirthLists &lists, const Atlas *atlas, QWidget *parent = nullptr);

    PersonDetails details() const;
    // Shows the details, the picked place's zone choice included.
    void setDetails(const PersonDetails &details);
    // Back to the state at start: empty boxes, the first entry of every
    // list, Greenwich, East and North, and no picked place.
    void clear();

    // The box a fault lies in; none for PersonField::None.
    QWidget *box(PersonField field) const;
    // The controls in the order Tab visits them.
    QList<QWidget *> tabChain() const;
    PlaceFinder *placeFinder() const { return m_places; }

    // Checks the three place boxes, then starts a web search for the place's
    // coordinates.
    void FindCoordinatesSearch();

    QLineEdit *name = nullptr;
    QComboBox *month = nullptr, *day = nullptr, *year = nullptr;
    QComboBox *hour = nullptr, *minute = nullptr, *second = nullptr;
    QCheckBox *timeUnknown = nullptr;
    QLineEdit *city = nullptr, *state = nullptr, *country = nullptr;
    QLineEdit *lonD = nullptr, *lonM = nullptr, *latD = nullptr, *latM = nullptr;
    QButtonGroup *longitude = nullptr, *latitude = nullptr;
    QComboBox *zone = nullptr;
    QCheckBox *dst = nullptr;
    QGroupBox *zoneFrame = nullptr;
    QPushButton *browser = nullptr;
    QLabel *zoneNote = nullptr;
    // Asks for a pick when City was left with typed text that was not picked.
    QLabel *cityNote = nullptr;
    // The partner's Country caption is a link; none for the man.
    LinkLabel *countryLink = nullptr;

Q_SIGNALS:
    void detailsChanged();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build(const BirthLists &lists);
    // A coordinate written out in a degrees box, as degrees and minutes.
    void convertCoordinate(QLineEdit *degrees);
    void tellPlaceFinderTheMoment();
    // The time lists at noon and closed while the time is unknown, and back
    // at the time they showed once it is known again.
    void timeUnknownToggled(bool unknown);

    const bool m_male;
    int m_knownTime[3] = {0, 0, 0};
    ZoneListModel *m_zones = nullptr;
    PlaceFinder *m_places = nullptr;
};
