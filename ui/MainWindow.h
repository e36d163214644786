// The main window: the skin with the game list, the configuration panel and
// the editor on it, and the three button sets that switch between them.
#pragma once

#include "launch/Executor.h"
#include "launch/WatchedProcess.h"
#include "settings/ProgramSettings.h"
#include "shape/ShapedForm.h"
#include "toolkit/gui/FileListBox.h"
#include "toolkit/gui/Form.h"
#include "toolkit/gui/Graphics.h"
#include "toolkit/gui/ListBox.h"
#include "toolkit/gui/Panel.h"
#include "toolkit/gui/SearchableListBox.h"
#include "toolkit/gui/Windowed.h"
#include "ui/AboutBox.h"
#include "ui/CloseAfterPlaying.h"
#include "ui/CreditsWindow.h"
#include "ui/EditorText.h"
#include "ui/GameListKeeper.h"

#include <chrono>
#include <map>
#include <memory>
#include <string>

namespace ui {

class StartListing;
class TForm4;

namespace design {
inline const tk::FontStyle limeButton{.color = tk::lime};
inline const tk::FontStyle panelCheckBox{.color = tk::silver};
} // namespace design

class TForm1 : public tk::Form {
    // The game list: ListBox1 and the hidden lists are views of its rows, so
    // it is made before them and ends after them.
    GameListKeeper gameList_;

public:
    // The start lists the ROM folder itself.
    TForm1();
    // With the ROM folder's listing begun before the window, which the
    // start's list build takes when it decides the same folders.
    explicit TForm1(StartListing& startListing);
    // Ends the game list's renewal first: its MAME is ended while the
    // window still is.
    ~TForm1() override;

    // Which of the three button sets the window shows.
    enum class State { list, configuration, editor };
    State state() const;

    // Controls, in design order: each is drawn over the ones before it.
    // ShapedForm1 is the shaped-window component under the design's own name.
    shape::TShapedForm ShapedForm1{*this, {0, 0, 340, 385}};
    tk::SpeedButton SpeedButton1{*this, {221, 326, 73, 22}, "Play", design::limeButton};
    tk::SpeedButton SpeedButton2{*this, {128, 326, 86, 22}, "Configure ", design::limeButton};
    tk::SpeedButton SpeedButton4{*this, {290, 36, 11, 12}, "X", design::limeButton};
    tk::SpeedButton SpeedButton3{*this, {276, 36, 11, 12}, "-", {.height = 13, .color = tk::lime}};
    tk::Label Label3{*this,
                     {196, 59, 63, 14},
                     "..::PRIME::..",
                     {.face = "Arial", .height = 11, .color = tk::grey},
                     true};
    tk::SpeedButton SpeedButton7{*this, {221, 326, 73, 22}, "OK", design::limeButton};
    tk::SpeedButton SpeedButton8{*this, {142, 326, 73, 22}, "Cancel", design::limeButton};
    tk::SpeedButton SpeedButton9{*this, {67, 326, 73, 22}, "Apply", design::limeButton};
    tk::SpeedButton SpeedButton10{*this, {221, 326, 73, 22}, "Save", design::limeButton};
    tk::SpeedButton SpeedButton11{*this, {143, 326, 73, 22}, "Close", design::limeButton};
    tk::SpeedButton SpeedButton12{
        *this, {91, 51, 32, 12}, "ABOUT", {.face = "Arial", .height = 8, .color = tk::black}};
    tk::Label Label4{*this, {55, 305, 61, 13}, "Show all files", {.color = tk::silver}, true};
    tk::Image Image1{*this, {48, 48, 25, 17}, true};
    tk::Image Image2{*this, {8, 392, 57, 49}};
    tk::SearchableListBox ListBox1{
        *this, {36, 72, 257, 225}, {.color = tk::grey, .itemHeight = 13}};
    tk::Panel Panel1{
        *this, {36, 72, 257, 225}, {.border = true, .outerBevel = false, .color = tk::grey}};
    tk::SpeedButton SpeedButton5{Panel1, {40, 119, 169, 22}, "Configure MAME", design::limeButton};
    tk::Label Label1{Panel1, {19, 7, 75, 13}, "MAME Exe File:", {}, false};
    tk::SpeedButton SpeedButton6{Panel1, {168, 46, 73, 22}, "Search", design::limeButton};
    tk::Label Label2{Panel1, {19, 71, 56, 13}, "Parameters:", {}, false};
    tk::Label Label5{Panel1,
                     {81, 71, 158, 14},
                     "Read your mame documentation",
                     {.face = "Arial", .height = 11, .color = tk::silver, .italic = true},
                     false};
    tk::SpeedButton SpeedButton13{Panel1, {40, 148, 83, 22}, "Change Skin", design::limeButton};
    tk::SpeedButton SpeedButton14{Panel1, {126, 148, 83, 22}, "Default Skin", design::limeButton};
    tk::Edit Edit1{Panel1, {16, 23, 225, 21}, tk::silver};
    tk::Edit Edit2{Panel1, {16, 87, 225, 21}, tk::silver};
    tk::CheckBox xp{
        Panel1, {51, 180, 145, 17}, "Using Windows XP/2000", design::panelCheckBox, tk::grey};
    tk::CheckBox close1{
        Panel1, {51, 197, 133, 17}, "Close After Playing", design::panelCheckBox, tk::grey};
    tk::FileListBox filelist{*this, {232, 392, 89, 49}};
    tk::ListBox ziplist{*this, {160, 392, 65, 49}};
    tk::ListBox gamelist{*this, {88, 392, 65, 49}};
    tk::Memo Cxdetexto{*this, {36, 72, 257, 225}, tk::grey};
    tk::CheckBox CheckBox1{*this, {41, 305, 12, 13}, "CheckBox1", {}, tk::buttonFace};
    tk::Panel Panel2{*this,
                     {7, 6, 319, 359},
                     {.caption = ". . : : LOADING ROMS : : . .",
                      .color = tk::black,
                      .font = {.face = "Impact", .height = 21, .color = tk::lime}}};

    // Runs MAME's command-line jobs; every property keeps its default.
    launch::TExecutor exe{handle()};
    // What "Play" does with "Close After Playing" ticked.
    CloseAfterPlaying closeAfterPlaying;

    // The program's one random sequence; only the credits game draws from it.
    RandomGenerator random;
    std::unique_ptr<TForm3> Form3;
    std::unique_ptr<TAboutBox> AboutBox;

    // Handlers.
    void FormCreate();
    void FormShow();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void SpeedButton7Click();
    void SpeedButton8Click();
    void SpeedButton9Click();
    void SpeedButton10Click();
    void SpeedButton11Click();
    void SpeedButton12Click();
    void SpeedButton13Click();
    void SpeedButton14Click();
    void Image1Click();
    void CheckBox1Click();

    // Rebuilds ListBox1 and gamelist from the ROM directory and gamelist file,
    // for the MAME the settings file names now.
    void refreshlist();

    // How long a new MAME found at the start may take over its game list
    // before it is ended; it needs a few seconds at most.
    std::chrono::seconds renewalTimeLimit{60};
    // Whether MAME writes the game list behind the start now.
    bool renewingGameList() const { return gameList_.renewing(); }

protected:
    void onShow() override { FormShow(); }
    void onTimer(UINT_PTR id) override;

private:
    explicit TForm1(StartListing* listedAhead);

    // A game "Play" started, as its message names it.
    struct PlayedGame {
        unsigned launch;
        std::string description; // UTF-8
        std::string shortName;
    };

    void setState(State state);
    void showStatus(TForm4& splash, const std::string& text);
    // Removes what writes killed midway left beside keston.ini and beside
    // MAME's configuration files.
    void removeWriteLeftovers(const std::string& mameExe);
    void connectHandlers();
    // "Apply": stores the panel's MAME and has it write the game list anew.
    // False, once the user is told why, when the MAME is refused or its
    // list is not written.
    bool applyConfiguration();
    // On the watching thread: hands MAME's end to the window's thread.
    launch::OnProcessEnd reportTo(PlayedGame game);
    void gameEnded(const PlayedGame& game, const launch::ProcessEnd& end);

    bool FirstShow = false;
    std::string ConfigFile;
    TextForm configFileForm_;  // how ConfigFile was read, to be written back so
    std::string searchFolder_; // where "Search" opens when Edit1 names no folder
    unsigned launches_ = 0;
    // The watches of the games "Play" started that have not ended yet, by
    // launch: the window's end stops them, not the games.
    std::map<unsigned, launch::ProcessWatch> watches_;
};

} // namespace ui
