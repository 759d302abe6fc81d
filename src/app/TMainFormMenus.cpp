// Building the main window: layout, menus, toolbar, status line and popups.

#include "app/BoardWidget.h"
#include "app/TMainForm.h"
#include "gfx/Resources.h"
#include "ui/Glyphs.h"

#include <QAction>
#include <QActionGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace zg {

namespace {

// Window parts, in pixels.
constexpr int kSpeedBarHeight = 41;
constexpr int kBoxBarHeight = 30;
constexpr int kStatusLineHeight = 28;
constexpr int kSpeedButtonSize = 31;
constexpr int kSpeedButtonTop = 5;
constexpr int kSolvedWidth = 128;
constexpr int kTimerWidth = 46;

// A hint is "short|long": the short part is the tooltip, the long part goes
// to the status line. Without "|" both are the whole text.
QString shortHint(const QString& hint) {
    return hint.section(QLatin1Char('|'), 0, 0);
}
QString longHint(const QString& hint) {
    return hint.contains(QLatin1Char('|')) ? hint.section(QLatin1Char('|'), 1) : hint;
}

QLabel* makeStatusPanel(const char* name, int width, const QString& hint, QWidget* parent) {
    auto* panel = new QLabel(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFixedWidth(width);
    const QString tip = shortHint(hint);
    if (!tip.isEmpty()) {
        panel->setToolTip(tip);
    }
    panel->setStatusTip(longHint(hint));
    panel->hide();
    return panel;
}

} // namespace

void TMainForm::createLayout() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // The window's own font: bold 15-pixel Arial for the bars and panels.
    QFont windowFont(QStringLiteral("Arial"));
    windowFont.setPixelSize(15);
    windowFont.setBold(true);
    central->setFont(windowFont);

    m_speedBar = new QWidget(central);
    m_speedBar->setObjectName(QStringLiteral("SpeedBar"));
    m_speedBar->setFixedHeight(kSpeedBarHeight);
    column->addWidget(m_speedBar);

    m_board = new BoardWidget(central);
    column->addWidget(m_board, 1);

    m_boxBar = new QWidget(central);
    m_boxBar->setObjectName(QStringLiteral("BoxBar"));
    m_boxBar->setFixedHeight(kBoxBarHeight);
    m_boxBar->hide();
    column->addWidget(m_boxBar);

    m_statusPanel = new QFrame(central);
    m_statusPanel->setObjectName(QStringLiteral("StatusLine"));
    m_statusPanel->setFixedHeight(kStatusLineHeight);
    auto* row = new QHBoxLayout(m_statusPanel);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);
    m_statusText = new QLabel(m_statusPanel);
    m_statusText->setObjectName(QStringLiteral("StatusText"));
    m_statusText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_statusText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(m_statusText, 1);
    m_solvedStatus = makeStatusPanel("SolvedStatus", kSolvedWidth,
                                     QStringLiteral("|Number of pieces solved out of total"), m_statusPanel);
    row->addWidget(m_solvedStatus);
    m_timerStatus =
        makeStatusPanel("TimerStatus", kTimerWidth,
                        QStringLiteral("|Time in hours and minutes since jigsaw started"), m_statusPanel);
    row->addWidget(m_timerStatus);
    column->addWidget(m_statusPanel);

    setCentralWidget(central);
}

QAction* TMainForm::addItem(QMenu* menu, const QString& caption, const QString& hint) {
    QAction* item = menu->addAction(caption);
    item->setStatusTip(longHint(hint));
    return item;
}

void TMainForm::createMenus() {
    Actions& a = m_actions;
    QMenuBar* bar = menuBar();

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    a.FileExit = addItem(file, QStringLiteral("E&xit"),
                         QStringLiteral("Exit this application, saving current position in jigsaw"));
    connect(a.FileExit, &QAction::triggered, this, [this] { guarded([this] { FileExitClick(); }); });

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    a.Toolbar = addItem(view, QStringLiteral("&Toolbar"), QStringLiteral("Show the toolbar"));
    a.Toolbar->setCheckable(true);
    a.Toolbar->setChecked(true);
    connect(a.Toolbar, &QAction::triggered, this, [this] { guarded([this] { ToolbarClick(); }); });
    a.Statusbar = addItem(view, QStringLiteral("&Status bar"), QStringLiteral("Show the status bar"));
    a.Statusbar->setCheckable(true);
    a.Statusbar->setChecked(true);
    connect(a.Statusbar, &QAction::triggered, this, [this] { guarded([this] { StatusbarClick(); }); });
    a.ZoomPicture =
        addItem(view, QStringLiteral("&Zoom picture"), QStringLiteral("Show picture full screen"));
    a.ZoomPicture->setShortcut(QKeySequence(Qt::Key_F2));
    a.ZoomPicture->setEnabled(false);
    connect(a.ZoomPicture, &QAction::triggered, this, [this] { guarded([this] { showZoomPicture(); }); });

    QMenu* tools = bar->addMenu(QStringLiteral("&Tools"));
    a.ArrangeAtEdge = addItem(tools, QStringLiteral("Arrange at &Edge"),
                              QStringLiteral("Arrange pieces around edge of window"));
    a.ArrangeInGrid = addItem(tools, QStringLiteral("Arrange in &Grid"),
                              QStringLiteral("Arrange pieces in a grid pattern"));
    a.Disarrange =
        addItem(tools, QStringLiteral("&Disarrange"), QStringLiteral("Randomly place any loose pieces"));
    a.PieceSize =
        addItem(tools, QStringLiteral("&Piece Size..."), QStringLiteral("Change the jigsaw piece size"));
    for (QAction* item : {a.ArrangeAtEdge, a.ArrangeInGrid, a.Disarrange, a.PieceSize}) {
        item->setEnabled(false);
    }
    a.Restart = addItem(tools, QStringLiteral("&Restart"), QStringLiteral("Restart the puzzle from scratch"));
    connect(a.Restart, &QAction::triggered, this, [this] { guarded([this] { Restart1Click(); }); });

    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    a.Picture = addItem(options, QStringLiteral("&Picture"), QStringLiteral("Show the picture window"));
    a.Picture->setCheckable(true);
    a.Picture->setEnabled(false);
    a.GhostPicture = addItem(options, QStringLiteral("&Ghost picture"), QString());
    a.GhostPicture->setCheckable(true);
    a.GhostPicture->setVisible(false);
    a.Sound = addItem(options, QStringLiteral("&Sound"), QStringLiteral("Turn sound effects on"));
    a.Sound->setCheckable(true);
    a.Sound->setChecked(true);
    connect(a.Sound, &QAction::triggered, this, [this] { guarded([this] { SoundClick(); }); });
    a.Music = addItem(options, QStringLiteral("&Music"), QStringLiteral("Turn background music on"));
    a.Music->setCheckable(true);
    a.Music->setChecked(true);
    connect(a.Music, &QAction::triggered, this, [this] { guarded([this] { MusicClick(); }); });

    QMenu* outlines = options->addMenu(QStringLiteral("&Outlines"));
    a.Outlines = outlines->menuAction();
    a.Outlines->setStatusTip(QStringLiteral("Choose the piece outlines"));
    m_outlineGroup = new QActionGroup(this);
    m_outlineGroup->setExclusive(true);
    const char* outlineCaptions[4] = {"&None", "&Paper", "&Card", "&Wood"};
    const char* outlineHints[4] = {"Pieces have no outlines", "Pieces are made of paper",
                                   "Pieces are made from card", "Pieces are made from chunky wood"};
    for (int i = 0; i < 4; ++i) {
        QAction* item =
            addItem(outlines, QString::fromLatin1(outlineCaptions[i]), QString::fromLatin1(outlineHints[i]));
        item->setCheckable(true);
        item->setData(i);
        m_outlineGroup->addAction(item);
        a.OutlineItems[i] = item;
    }
    a.OutlineItems[2]->setChecked(true);
    a.Outlines->setData(2);
    connect(m_outlineGroup, &QActionGroup::triggered, this,
            [this](QAction* item) { guarded([this, item] { OutlinesClick(item); }); });

    a.Shadows =
        addItem(options, QStringLiteral("Sha&dows"), QStringLiteral("Show 3D shadows when moving pieces"));
    a.Shadows->setCheckable(true);
    a.Shadows->setChecked(true);
    connect(a.Shadows, &QAction::triggered, this, [this] { guarded([this] { ShadowsClick(); }); });
    a.SortByShape = addItem(options, QStringLiteral("Sort by S&hape"),
                            QStringLiteral("Put edge pieces first when arranging"));
    a.SortByShape->setCheckable(true);
    a.SortByShape->setChecked(true);
    a.SortByColor = addItem(options, QStringLiteral("Sort by &Color"),
                            QStringLiteral("Put similar colors together when arranging"));
    a.SortByColor->setCheckable(true);
    a.SortByColor->setChecked(true);
    a.ShowTimer =
        addItem(options, QStringLiteral("&Timer display"), QStringLiteral("Show the timer while playing"));
    a.ShowTimer->setCheckable(true);
    a.ShowTimer->setChecked(true);
    connect(a.ShowTimer, &QAction::triggered, this, [this] { guarded([this] { ShowTimerClick(); }); });
    a.ShowNum = addItem(options, QStringLiteral("&Number display"),
                        QStringLiteral("Show number of pieces solved while playing"));
    a.ShowNum->setCheckable(true);
    a.ShowNum->setChecked(true);
    connect(a.ShowNum, &QAction::triggered, this, [this] { guarded([this] { ShowNumClick(); }); });
    a.Rotation = addItem(options, QStringLiteral("&Rotating Pieces"),
                         QStringLiteral("When enabled, pieces can be turned around"));
    a.Rotation->setCheckable(true);
    connect(a.Rotation, &QAction::triggered, this, [this] { guarded([this] { RotationClick(); }); });
    QMenu* advanced = options->addMenu(QStringLiteral("Advanced"));
    a.BackgroundColor = addItem(advanced, QStringLiteral("&Background Color..."),
                                QStringLiteral("Change the window background color"));
    connect(a.BackgroundColor, &QAction::triggered, this,
            [this] { guarded([this] { BackgroundColorClick(); }); });
    a.RightMouseButton = addItem(advanced, QStringLiteral("Right Mouse Button..."),
                                 QStringLiteral("Change the action of the right mouse button"));
    a.RightMouseButton->setEnabled(false);

    QMenu* cheat = bar->addMenu(QStringLiteral("&Cheat"));
    a.AllowCheating =
        addItem(cheat, QStringLiteral("Allow &Cheating"), QStringLiteral("Allow various cheat functions"));
    a.AllowCheating->setCheckable(true);
    a.AllowCheating->setChecked(true);
    connect(a.AllowCheating, &QAction::triggered, this,
            [this] { guarded([this] { AllowCheatingClick(); }); });
    a.Hint = addItem(cheat, QStringLiteral("&Hint!"), QStringLiteral("Flash next two pieces to solve"));
    a.RightWayUp =
        addItem(cheat, QStringLiteral("&Right Way Up!"), QStringLiteral("Turn all pieces the right way up"));
    a.Solve = addItem(cheat, QStringLiteral("&Auto-Solve!"),
                      QStringLiteral("Start solving the puzzle automatically"));
    for (QAction* item : {a.Hint, a.RightWayUp, a.Solve}) {
        item->setEnabled(false); // until a puzzle is played, by the cheat rule
    }

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    a.HelpQuick =
        addItem(help, QStringLiteral("&Quick Help!"), QStringLiteral("Display mouse and keyboard controls"));
    a.HelpOrder =
        addItem(help, QStringLiteral("&Order full-version..."),
                QStringLiteral("Order the latest full-version by mail or at our secure online mall"));
    a.HelpAboutJig = addItem(help, QStringLiteral("About this &Jigsaw..."),
                             QStringLiteral("Show information about this jigsaw"));
    a.HelpAboutJig->setVisible(false);
    a.HelpAbout = addItem(help, QStringLiteral("&About..."), QStringLiteral("Show program information"));
    // The dialogs enable their commands once they are wired up.
    for (QAction* item : {a.HelpQuick, a.HelpOrder, a.HelpAboutJig, a.HelpAbout}) {
        item->setEnabled(false);
    }
}

QToolButton* TMainForm::addSpeedButton(const char* name, int x, const QString& hint, QAction* action) {
    auto* button = new QToolButton(m_speedBar);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, kSpeedButtonTop, kSpeedButtonSize, kSpeedButtonSize);
    button->setAutoRaise(true);
    button->setIconSize(QSize(24, 24));
    try {
        button->setIcon(QIcon(loadGlyph(name)));
    } catch (const ResourceError&) {
        button->setText(shortHint(hint).left(1));
    }
    button->setToolTip(shortHint(hint));
    button->setStatusTip(longHint(hint));
    if (action != nullptr) {
        connect(button, &QToolButton::clicked, action, [action] { action->trigger(); });
    }
    return button;
}

void TMainForm::createToolbar() {
    // Left to right, in the gaps the toolbar keeps between its groups.
    addSpeedButton("SpeedPicture", 8, QStringLiteral("Picture|Toggle the picture overlay"), m_actions.Picture)
        ->setEnabled(false);
    addSpeedButton("SpeedSize", 38, QStringLiteral("Piece size|Change the size of pieces"),
                   m_actions.PieceSize)
        ->setEnabled(false);
    addSpeedButton("SpeedEdge", 68, QStringLiteral("Arrange at edge|Arrange pieces around edge"),
                   m_actions.ArrangeAtEdge)
        ->setEnabled(false);
    addSpeedButton("SpeedGrid", 98, QStringLiteral("Arrange in grid|Arrange pieces in a grid"),
                   m_actions.ArrangeInGrid)
        ->setEnabled(false);
    QToolButton* sound =
        addSpeedButton("SpeedSound", 138, QStringLiteral("Sound|Turn sound effects on/off"), nullptr);
    sound->setCheckable(true);
    sound->setChecked(true);
    connect(sound, &QToolButton::clicked, this, [this] { m_actions.Sound->trigger(); });
    QToolButton* music =
        addSpeedButton("SpeedMusic", 168, QStringLiteral("Music|Turn background music on/off"), nullptr);
    music->setCheckable(true);
    music->setChecked(true);
    connect(music, &QToolButton::clicked, this, [this] { m_actions.Music->trigger(); });
    addSpeedButton("SpeedHelp", 208, QStringLiteral("Quick Help|Display mouse and keyboard controls"),
                   m_actions.HelpQuick)
        ->setEnabled(false);
}

QToolButton* TMainForm::speedButton(const char* name) const {
    return m_speedBar->findChild<QToolButton*>(QString::fromLatin1(name));
}

void TMainForm::createPopups() {
    Popups& p = m_popups;
    // Each item carries the command it stands for, as the board code names it.
    const auto command = [this](QMenu* menu, const QString& caption, const QString& hint, PopupCommand c) {
        QAction* item = addItem(menu, caption, hint);
        item->setData(int(c));
        return item;
    };

    p.Play = new QMenu(this);
    p.Play->setObjectName(QStringLiteral("PopupPlay"));
    command(p.Play, QStringLiteral("Arrange at &Edge"),
            QStringLiteral("Arrange pieces around edge of window"), PopupCommand::ArrangeAtEdge);
    command(p.Play, QStringLiteral("Arrange in &Grid"), QStringLiteral("Arrange pieces in a grid pattern"),
            PopupCommand::ArrangeInGrid);
    command(p.Play, QStringLiteral("&Piece Size..."), QStringLiteral("Change the jigsaw piece size"),
            PopupCommand::PieceSize);
    p.Play->addSeparator();
    p.PlayHint = command(p.Play, QStringLiteral("&Hint!"), QStringLiteral("Flash next two pieces to solve"),
                         PopupCommand::Hint);
    p.PlaySolve = command(p.Play, QStringLiteral("&Auto-Solve!"),
                          QStringLiteral("Start solving the puzzle automatically"), PopupCommand::AutoSolve);

    p.Piece = new QMenu(this);
    p.Piece->setObjectName(QStringLiteral("PopupPiece"));
    p.RotateRight = command(p.Piece, QStringLiteral("Rotate &Right"), QStringLiteral("Turn piece clockwise"),
                            PopupCommand::RotateRight);
    p.RotateLeft = command(p.Piece, QStringLiteral("Rotate &Left"),
                           QStringLiteral("Turn piece counterclockwise"), PopupCommand::RotateLeft);
    try {
        p.RotateRight->setIcon(QIcon(loadGlyph("RotateRight")));
        p.RotateLeft->setIcon(QIcon(loadGlyph("RotateLeft")));
    } catch (const ResourceError&) {
        // The commands work without their icons.
    }
    command(p.Piece, QStringLiteral("&Unlock"), QStringLiteral("Disconnect piece from its neighbors"),
            PopupCommand::Unlock);
    command(p.Piece, QStringLiteral("Send To &Back"), QStringLiteral("Put piece behind all others"),
            PopupCommand::SendToBack);
    p.Piece->addSeparator();
    command(p.Piece, QStringLiteral("&Show Neighbor!"), QStringLiteral("Cheat by flashing connecting piece"),
            PopupCommand::ShowNeighbour);
    command(p.Piece, QStringLiteral("&Fetch Neighbor!"), QStringLiteral("Cheat by fetching connecting piece"),
            PopupCommand::FetchNeighbour);
    p.PieceRightWayUp =
        command(p.Piece, QStringLiteral("&Right Way Up!"),
                QStringLiteral("Cheat by orienting piece correctly"), PopupCommand::RightWayUp);

    p.Tray = new QMenu(this);
    p.Tray->setObjectName(QStringLiteral("PopupTray"));
    command(p.Tray, QStringLiteral("Arrange at &Edge"), QStringLiteral("Arrange pieces around edge of tray"),
            PopupCommand::ArrangeAtEdgeTray);
    command(p.Tray, QStringLiteral("Arrange in &Grid"),
            QStringLiteral("Arrange pieces in a grid pattern in tray"), PopupCommand::ArrangeInGridTray);
    command(p.Tray, QStringLiteral("D&isarrange Tray"),
            QStringLiteral("Randomly arrange any loose pieces in tray"), PopupCommand::DisarrangeTray);
    command(p.Tray, QStringLiteral("&Piece size..."), QStringLiteral("Change the jigsaw piece size"),
            PopupCommand::PieceSizeTray);
    p.Tray->addSeparator();
    command(p.Tray, QStringLiteral("Se&lect all pieces"),
            QStringLiteral("Select every loose piece in this tray"), PopupCommand::SelectAllPieces);
    command(p.Tray, QStringLiteral("&Send Tray to Back"), QStringLiteral("Put this tray behind all others"),
            PopupCommand::SendTrayToBack);
    command(p.Tray, QStringLiteral("D&rop all pieces"),
            QStringLiteral("Move this tray's pieces onto the board"), PopupCommand::DropAllPieces);
    command(p.Tray, QStringLiteral("G&et loose pieces"),
            QStringLiteral("Gather the board's loose pieces into this tray"), PopupCommand::GetLoosePieces);
    command(p.Tray, QStringLiteral("&Tray Description..."),
            QStringLiteral("Change the description of this tray"), PopupCommand::TrayDescription);
    QMenu* colour = p.Tray->addMenu(QStringLiteral("Tray &Color"));
    colour->menuAction()->setStatusTip(QStringLiteral("Change the color of this tray"));
    command(colour, QStringLiteral("Custom..."), QStringLiteral("Choose any color for this tray"),
            PopupCommand::TrayColorCustom);
    command(colour, QStringLiteral("Matching"), QStringLiteral("Color this tray to match its pieces"),
            PopupCommand::TrayColorMatching);
    command(colour, QStringLiteral("Contrasting"),
            QStringLiteral("Color this tray to contrast with its pieces"),
            PopupCommand::TrayColorContrasting);
    command(colour, QStringLiteral("Default"), QStringLiteral("Give this tray the default color"),
            PopupCommand::TrayColorDefault);
    p.Tray->addSeparator();
    command(p.Tray, QStringLiteral("&Delete Tray!"), QStringLiteral("Delete this tray"),
            PopupCommand::DeleteTray);
}

} // namespace zg
