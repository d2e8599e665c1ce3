#pragma once

#include "app/atlas.h"

#include <QByteArray>
#include <QObject>

#include <optional>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class QStandardItemModel;
class QTimer;
class ZoneListModel;

// One person's birth-place look-up: after two typed characters and a pause
// the City box offers matching places; picking one fills the place, its
// coordinates and the zone for the birth moment, to the second: where no
// zone row has the place's offset, an extra entry after the rows holds it.
// Typing alone changes nothing else; once the City text is edited after a
// pick, a note says the other fields still belong to the picked place.
//
// The offers are a list drawn over the window under City, never a window of
// their own: the keyboard stays in City throughout, so no key is lost or
// sent elsewhere while the list opens or closes. The first offer is the
// current one; Up and Down or the mouse move it, Enter picks it, Escape,
// Tab or a click elsewhere closes the list.
class PlaceFinder : public QObject {
    Q_OBJECT

public:
    struct Fields {
        QLineEdit *city, *state, *country, *lonD, *lonM, *latD, *latM;
        QButtonGroup *longitude, *latitude;
        QComboBox *zone;
        QCheckBox *dst;
        QLabel *zoneNote;
        QLabel *cityNote;
        ZoneListModel *zoneList;
    };

    PlaceFinder(const Atlas &atlas, const Fields &fields, QObject *parent = nullptr);

    // The list of offers, made when first needed; none before.
    QListView *offers() const { return m_offers; }

    // The birth moment as typed on the local clock. A new moment may fall in
    // the other season: the zone follows it while it is the atlas's choice.
    void setBirthMoment(int year, int month, int day, int hour, int minute);

    // Fills the person's fields from a place, as picking it does.
    void usePlace(const AtlasPlace &place);

    // True while the zone and daylight saving are the atlas's own choice.
    bool zoneFromAtlas() const { return !m_zoneName.isEmpty(); }

    // The picked place's city, as the pick filled it in; empty before any pick.
    QString pickedPlace() const { return m_placeName; }

    // Offers the places that start with the typed text (two characters at
    // least), the first of them current.
    void offerPlaces(const QString &typed);

    // The picked place while the zone still follows it, as the person's
    // boxes now show it (coordinates to the minute); none once the zone was
    // set by hand. Given back to restorePick at the next start, it fills the
    // place and picks the zone again as picking it did; with none, the pick
    // is forgotten as setting the zone by hand does.
    std::optional<AtlasPlace> currentPick() const;
    void restorePick(const std::optional<AtlasPlace> &pick);

    // Forgets everything of the last pick and typing: the place, its zone,
    // the offers and the notes.
    void forget();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QListView *makeOffers();
    void hideOffers();
    void placeOffers();
    void moveCurrent(int rows);
    void pick(const QModelIndex &index);
    bool handleCityKey(int key);
    void cityLeft();
    void chooseZone();
    void zoneChangedByHand();
    void cityEdited();
    static void showNote(QLabel *label, const QString &note);

    const Atlas &m_atlas;
    Fields m_fields;
    QListView *m_offers = nullptr;
    QStandardItemModel *m_model = nullptr;
    QTimer *m_pause;
    std::vector<AtlasPlace> m_offered;
    QByteArray m_zoneName;
    QString m_placeName;
    // City text typed since the last pick.
    bool m_typedSincePick = false;
    int m_year = 2000, m_month = 1, m_day = 1, m_hour = 0, m_minute = 0;
};
