#pragma once

#include "core/SpcTable.h"
#include "ui/common/DesignLayout.h"

#include <QStringList>
#include <QWidget>

#include <array>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;

namespace cubwave {

class BandMapView;
class ClickableLabel;
class LogStore;
class SpotListModel;
class RecentContactsModel;

// The main window's face: every control, built on the 640 x 480 design grid and scaled with the
// window. It holds no behaviour of its own; the main window connects to the controls and fills
// them from the contest session.
class MainScreen : public QWidget {
    Q_OBJECT

public:
    explicit MainScreen(const LogStore& store, QWidget* parent = nullptr);

    // The entry line: call, name, age, location, other, then the post-contest time and date.
    std::array<QLineEdit*, 7> fields{};
    std::array<QLabel*, 6> columnHeadings{};
    // The state and province labels by their index in the multiplier table (0 unused).
    std::array<ClickableLabel*, SpcTable::kSize + 1> multiplierLabels{};
    QLabel* statusLabel = nullptr;
    // "TX", red while a CW sending keys a line or PTT is up.
    QLabel* transmitLabel = nullptr;
    QLabel* dupeLabel = nullptr;
    QLabel* postTimeHeading = nullptr;
    QLabel* postDateHeading = nullptr;
    QLabel* newLabel = nullptr;
    QLabel* statesWorkedLabel = nullptr;
    QLabel* continentLabel = nullptr;
    QLabel* bearingLabel = nullptr;
    QLabel* distanceLabel = nullptr;
    ClickableLabel* bandLabel = nullptr;
    QLabel* contactsTotalLabel = nullptr;
    QLabel* phoneTotalLabel = nullptr;
    QLabel* cwTotalLabel = nullptr;
    QLabel* rate20Label = nullptr;
    QLabel* rate60Label = nullptr;
    QLabel* scoreLabel = nullptr;
    QPushButton* clearButton = nullptr;
    QPushButton* partialDupButton = nullptr;
    QPushButton* operatingClockButton = nullptr;
    QLabel* operatingTimeLabel = nullptr;
    QLabel* utcClockLabel = nullptr;
    QLabel* localClockLabel = nullptr;
    QLabel* amPmLabel = nullptr;
    std::array<QLabel*, 5> ownExchangeLabels{};  // Label2, Label26, Label4, Label25, Label1
    QPushButton* listLengthButton = nullptr;
    QPushButton* editButton = nullptr;
    QPushButton* deleteButton = nullptr;
    QTableView* recentList = nullptr;
    RecentContactsModel* recentModel = nullptr;
    QListWidget* dxList = nullptr;
    // The hidden line at the bottom of the recent list that the DX list reaches down to.
    QFrame* line3 = nullptr;
    // The spot displays, in the same room under the controls: the band map panel lblDX and the
    // spot list txtDX. Both hidden and parked until spotting is set up.
    BandMapView* bandMap = nullptr;
    QTableView* spotList = nullptr;
    SpotListModel* spotListModel = nullptr;

    // Places every control for the current size; the recent list's columns follow the width.
    void relayout();
    // The DX list reaches down to Line3.
    void fitDxList();
    // With spots wanted the controls are pressed into 90 % of the height and the spot displays
    // take the rest; without, the controls have the whole window and both displays are hidden
    // and parked.
    void applySpotRoom(bool spotsWanted);
    // Whether the band map or the list shows in the room (the band map until told otherwise).
    void chooseSpotDisplay(bool bandMap);
    // True while the band map or the list shows.
    bool spotDisplayShown() const;
    bool bandMapShown() const;

    // What the window shows, from plain values.
    void showTotals(const QString& contacts, const QString& phone, const QString& cw, const QString& score);
    void showRates(const QString& perHour60, const QString& perHour20);
    void showDxList(const QStringList& locations, const QString& heading);
    void addDx(const QString& location, const QString& heading);
    // colour: the multiplier's text colour (red + 256 green + 65536 blue).
    void showMultiplier(int index, qint32 colour);
    void showWorkedLine(const QString& text);
    void showClocks(const QString& utc, const QString& local, const QString& amPm);
    void showOwnExchange(const std::array<QString, 5>& values);
    void showTransmitting(bool on);
    // The line under the status line (possible duplicates, a multiplier's count) in a point size
    // that follows the screen width and the window size, as a share of 9600 twips.
    void showHint(const QString& text, double pointsPer9600Twips, int windowSizePct);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* addLabel(const QString& name, const QString& caption, QRect design, double pointSize = 8);
    QLineEdit* addField(const QString& name, int maxLength, QRect design);
    void place(QWidget* widget, QRect design, double pointSize);

    DesignLayout layout_{QSize(640, 480)};
    bool spotsWanted_ = false;
    bool bandMapChosen_ = true;
};

}  // namespace cubwave
