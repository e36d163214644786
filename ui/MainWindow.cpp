#include "ui/MainWindow.h"

#include "assets/resource.h"
#include "launch/GameListUpdate.h"
#include "settings/ProgramSettings.h"
#include "settings/Settings.h"
#include "toolkit/files/Paths.h"
#include "toolkit/gui/Application.h"
#include "toolkit/gui/Dialogs.h"
#include "toolkit/pictures/Resources.h"
#include "ui/SplashWindow.h"

namespace ui {

TForm1::TForm1() : TForm1(nullptr) {}

TForm1::TForm1(StartListing& startListing) : TForm1(&startListing) {}

TForm1::TForm1(StartListing* listedAhead)
    : tk::Form(
          {.caption = "Form1", .frame = tk::Frame::none, .clientWidth = 340, .clientHeight = 385}),
      gameList_(*this,
                {.shown = ListBox1,
                 .files = filelist,
                 .zips = ziplist,
                 .games = gamelist,
                 .loading = Panel2,
                 .showAll = CheckBox1},
                listedAhead) {
    ShapedForm1.setPicture(tk::Picture::fromBitmapResource(IDB_SKIN));
    ShapedForm1.ReadMask2(tk::resourceBytes(IDR_MAIN_WINDOW_REGION));
    Image1.setPicture(tk::Picture::fromBitmapResource(IDB_FLAG));
    for (tk::Control* hidden : std::initializer_list<tk::Control*>{
             &SpeedButton7, &SpeedButton8, &SpeedButton9, &SpeedButton10, &SpeedButton11, &Panel1,
             &filelist, &ziplist, &gamelist, &Cxdetexto, &Panel2})
        hidden->hide();
    connectHandlers();
    // "Show all files" is a switch of the list: the keys stay with the list.
    CheckBox1.passFocusAfterClick(ListBox1);
    // The window starts in the list state.
    setActiveControl(ListBox1);
    FormCreate();
}

TForm1::~TForm1() {
    gameList_.endRenewal();
}

void TForm1::connectHandlers() {
    SpeedButton1.onClick = [this] { SpeedButton1Click(); };
    SpeedButton2.onClick = [this] { SpeedButton2Click(); };
    SpeedButton3.onClick = [this] { SpeedButton3Click(); };
    SpeedButton4.onClick = [this] { SpeedButton4Click(); };
    SpeedButton5.onClick = [this] { SpeedButton5Click(); };
    SpeedButton6.onClick = [this] { SpeedButton6Click(); };
    SpeedButton7.onClick = [this] { SpeedButton7Click(); };
    SpeedButton8.onClick = [this] { SpeedButton8Click(); };
    SpeedButton9.onClick = [this] { SpeedButton9Click(); };
    SpeedButton10.onClick = [this] { SpeedButton10Click(); };
    SpeedButton11.onClick = [this] { SpeedButton11Click(); };
    SpeedButton12.onClick = [this] { SpeedButton12Click(); };
    SpeedButton13.onClick = [this] { SpeedButton13Click(); };
    SpeedButton14.onClick = [this] { SpeedButton14Click(); };
    Image1.onClick = [this] { Image1Click(); };
    CheckBox1.onClick = [this] { CheckBox1Click(); };
}

void TForm1::FormCreate() {
    FirstShow = true;
}

void TForm1::showStatus(TForm4& splash, const std::string& text) {
    splash.status.setCaption(text);
    // No messages are processed while the sequence runs: paint now.
    splash.repaintNow();
}

void TForm1::FormShow() {
    if (!FirstShow)
        return;
    FirstShow = false;

    // Owned here, so the splash window also goes when an error ends the
    // sequence early.
    auto splash = std::make_unique<TForm4>();
    splash->show();
    splash->repaintNow();

    showStatus(*splash, "Creating the Credit Zone");
    Form3 = std::make_unique<TForm3>(random);
    showStatus(*splash, "Creating the Aboutbox");
    AboutBox = std::make_unique<TAboutBox>();

    showStatus(*splash, "Loading Windows XP/2000 option status");
    // Read once for the whole start.
    const settings::ProgramSettings stored = settings::ProgramSettings::read();
    xp.setChecked(stored.xp());
    showStatus(*splash, "Loading Close after Playing option status");
    close1.setChecked(stored.closeAfterPlaying());

    showStatus(*splash, "Loading Default Skin");
    Image2.setPicture(ShapedForm1.picture().copy());
    showStatus(*splash, "Loading Actual Skin");
    std::string skin = stored.skin();
    if (!skin.empty() && tk::fileExists(skin))
        ShapedForm1.setPicture(tk::Picture::fromFile(skin));

    showStatus(*splash, "Searching for Config files");
    removeWriteLeftovers(stored.mameExe());
    launch::removeRenewalLeftover(settings::filesFolder());
    if (std::string notice = settings::filesFolderNotice(); !notice.empty())
        tk::dialogs().message(notice);
    if (!stored.fileExists()) {
        splash.reset();
        SpeedButton2Click();
        return;
    }
    showStatus(*splash, "Searching for Gamelist");
    if (!tk::fileExists(settings::programFile(settings::gameListFileName))) {
        splash.reset();
        SpeedButton2Click();
        return;
    }
    gameList_.renewForNewMame(stored, xp.checked(), renewalTimeLimit,
                              [&](const std::string& text) { showStatus(*splash, text); });
    showStatus(*splash, "Loading Gamelist");
    gameList_.build(stored.mameExe(), true);
}

TForm1::State TForm1::state() const {
    if (Panel1.visible())
        return State::configuration;
    if (Cxdetexto.visible())
        return State::editor;
    return State::list;
}

void TForm1::setState(State state) {
    bool list = state == State::list;
    bool configuration = state == State::configuration;
    bool editor = state == State::editor;
    SpeedButton1.setVisible(list);
    SpeedButton2.setVisible(list);
    Label4.setVisible(list);
    CheckBox1.setVisible(list);
    SpeedButton7.setVisible(configuration);
    SpeedButton8.setVisible(configuration);
    SpeedButton9.setVisible(configuration);
    SpeedButton10.setVisible(editor);
    SpeedButton11.setVisible(editor);
    Panel1.setVisible(configuration);
    Cxdetexto.setVisible(editor);
    // The keys go to what is on top; in the list state typing finds a game.
    setActiveControl(list            ? static_cast<tk::WinControl&>(ListBox1)
                     : configuration ? static_cast<tk::WinControl&>(Edit1)
                                     : Cxdetexto);
}

void TForm1::SpeedButton3Click() {
    tk::application().minimize();
}

void TForm1::SpeedButton4Click() {
    close();
}

void TForm1::SpeedButton12Click() {
    // Start-up may have failed to make it: made now, or the error reported.
    if (!AboutBox)
        AboutBox = std::make_unique<TAboutBox>();
    AboutBox->showModal();
}

void TForm1::Image1Click() {
    if (settings::ProgramSettings::read().credits()) {
        if (!Form3)
            Form3 = std::make_unique<TForm3>(random);
        Form3->showModal();
    }
    tk::dialogs().message("Programa com o orgulho de ser Brasileiro! MADE IN BRAZIL");
}

void TForm1::CheckBox1Click() {
    refreshlist();
}

void TForm1::refreshlist() {
    gameList_.refresh();
}

} // namespace ui
