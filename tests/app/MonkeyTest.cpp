// A seeded random walk of user actions over the main window: typing and
// pasting into every edit, the track bars, the flow types, "Deformar",
// "Restaurar", "Reestablecer", the check boxes and tabs, the enlarged view
// and resizing. After every action the window must have shown no error,
// answered within its time, shown the finite tensor that the increments
// applied since the last restore give, and kept every chart value and shape
// coordinate finite.
//
// TENSIM_MONKEY_ACTIONS sets the total number of actions, TENSIM_MONKEY_SEED
// runs one seed only; a failure names both, so that it can be replayed.

#include "app/About02.h"
#include "app/Application.h"
#include "app/FlowModel.h"
#include "app/Kinema08u2.h"
#include "app/Kinema08uMain.h"
#include "controls/Chart.h"
#include "controls/NxNumEdit.h"
#include "controls/NxSpinEdit.h"
#include "controls/StdCtrls.h"
#include "drawing/AltObjs8b.h"
#include "drawing/MathImge.h"
#include "drawing/StrainEllipse.h"
#include "math/Transform.h"
#include "tests/app/WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QKeySequence>
#include <QMenu>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace tensim {
namespace {

// ---- settings ---------------------------------------------------------------

// Two sequences of 20,000 actions each: long enough for the states that only
// many increments reach, and two seeds so that one lucky walk is not all.
constexpr int DefaultActions = 40000;
constexpr uint32_t DefaultSeeds[] = {1, 2};

// The longest an action may take. Instrumented builds run several times
// slower than the optimised one the limit is meant for.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TENSIM_MONKEY_INSTRUMENTED
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) ||                         \
    __has_feature(memory_sanitizer)
#define TENSIM_MONKEY_INSTRUMENTED
#endif
#endif
#ifdef TENSIM_MONKEY_INSTRUMENTED
constexpr qint64 MaxActionMilliseconds = 10000;
#else
constexpr qint64 MaxActionMilliseconds = 2000;
#endif

// An action still running after this long is taken for a hang.
constexpr int HangSeconds = 60;

// Beyond this the shown finite tensor has fewer than 4 decimals.
constexpr double LargestComparedEntry = 1e15;

// A positive whole number from the environment, or Default.
long long EnvironmentNumber(const char* Name, long long Default)
{
    bool ok = false;
    const long long value = qEnvironmentVariable(Name).trimmed().toLongLong(&ok);
    return ok && value > 0 ? value : Default;
}

// ---- random choices ---------------------------------------------------------

class TRandom {
public:
    explicit TRandom(uint32_t Seed) : FEngine(Seed) {}

    int Int(int Min, int Max) { return std::uniform_int_distribution<int>(Min, Max)(FEngine); }
    bool Chance(double Probability)
    {
        return std::uniform_real_distribution<double>(0, 1)(FEngine) < Probability;
    }
    template <class T> T Pick(std::initializer_list<T> Items)
    {
        return Items.begin()[Int(0, static_cast<int>(Items.size()) - 1)];
    }
    template <class T> T Pick(const std::vector<T>& Items)
    {
        return Items[static_cast<size_t>(Int(0, static_cast<int>(Items.size()) - 1))];
    }
    QString Digits(int Count)
    {
        QString text;
        for (int i = 0; i < Count; ++i)
            text += QChar('0' + Int(0, 9));
        return text;
    }

private:
    std::mt19937 FEngine;
};

// A decimal number with up to Limit before the point and up to 5 digits after it.
QString DecimalText(TRandom& Random, int Limit)
{
    QString text = Random.Chance(0.4) ? "-" : "";
    text += QString::number(Random.Int(0, Limit));
    const int decimals = Random.Int(0, 5);
    if (decimals > 0) text += "." + Random.Digits(decimals);
    return text;
}

// What a user might enter in a number field: values in and out of the flow
// tensor's range -2..2, hundreds of digits, the ends of the floating-point
// range, nothing, signs, separators and junk.
QString NumberText(TRandom& Random)
{
    switch (Random.Int(0, 11)) {
    case 0:
    case 1:
    case 2:
        return DecimalText(Random, 2);
    case 3:
        return DecimalText(Random, 99);
    case 4: {
        QString digits = Random.Digits(Random.Int(100, 400));
        if (Random.Chance(0.5)) digits.insert(Random.Int(0, static_cast<int>(digits.size())), '.');
        return Random.Chance(0.3) ? "-" + digits : digits;
    }
    case 5:
        return Random.Pick<QString>({"1e308", "-1e308", "1e309", "1e400", "-1e4000", "9e4931",
                                     "1e4933", "1e-400", "-1e-5000", "1.7976931348623157e308",
                                     "4.9e-324"});
    case 6:
        return Random.Pick<QString>({"2.5e-3", "1E2", "-3e1", "5e0", ".5e1", "1e-1", "2e-5"});
    case 7:
        return "";
    case 8:
        return Random.Pick<QString>({"-", "--", "-0", "0-", "-.", "1-2", "---1", "+-1", "-+1"});
    case 9:
        return Random.Pick<QString>(
            {".", ",", "1,5", "1.2.3", ",5", "5.", "1,000.5", " 1 ", "+1", "..", "1..2"});
    case 10:
        return Random.Pick<QString>(
            {"abc", "e", "1e", "e5", "1e-", "NaN", "inf", "-inf", "0x1F", "1/2", "1 000"});
    default:
        return Random.Pick<QString>(
            {"0", "0.0000", "-0", "000.000", "2", "-2", "1.95", "-1.95", "2.0001"});
    }
}

// An angle in degrees, mostly whole, negative and above 360 too.
QString AngleText(TRandom& Random)
{
    switch (Random.Int(0, 5)) {
    case 0:
    case 1:
    case 2:
        return QString::number(Random.Int(-1000, 1000));
    case 3:
        return QString::number(Random.Pick({0, 45, 90, 180, 270, 360, -360, 720, -90, 1}));
    case 4:
        return Random.Pick<QString>({"2147483647", "-2147483648", "99999999999", "+15", "007"});
    default:
        return NumberText(Random);
    }
}

// A count of increments, -3..20, now and then a text that is not a count.
QString CountText(TRandom& Random)
{
    if (Random.Chance(0.85)) return QString::number(Random.Int(-3, 20));
    return Random.Pick<QString>({"", "abc", "2.5", "+7", "-0", "007", " 3", "1e1", "-"});
}

// A text for the record: long ones shortened, with their length.
std::string Shown(const QString& Text)
{
    if (Text.size() <= 40) return '"' + Text.toStdString() + '"';
    return '"' + Text.left(12).toStdString() + "..." + Text.right(6).toStdString() + "\" (" +
           std::to_string(Text.size()) + " characters)";
}

std::string Name(const QObject* Object)
{
    return Object->objectName().toStdString();
}

// "Left", "PgUp", "Home", ...
std::string KeyName(Qt::Key Key)
{
    return QKeySequence(Key).toString().toStdString();
}

// ---- the record of the last actions ------------------------------------------

// The last actions of a run in fixed storage: failure messages quote them,
// and so does the report of a crash or a hang, which may only write out
// what is already there.
class TActionLog {
public:
    static constexpr int Lines = 20;

    void Begin(uint32_t Seed, int Actions)
    {
        std::snprintf(FHeader, sizeof FHeader,
                      "Monkey run: TENSIM_MONKEY_SEED=%u TENSIM_MONKEY_ACTIONS=%d\n", Seed,
                      Actions);
        FCount = 0;
    }
    void Add(int Index, const std::string& Description)
    {
        const int count = FCount;
        std::snprintf(FLines[count % Lines], Width, "  #%d %s\n", Index, Description.c_str());
        FCount = count + 1;
    }
    std::string Text() const
    {
        std::string text;
        for (int i = std::max(0, FCount - Lines); i < FCount; ++i)
            text += FLines[i % Lines];
        return text;
    }
    // Only calls that a signal handler may make.
    void Write(int File) const
    {
        const auto put = [File](const char* Text) {
            [[maybe_unused]] const ssize_t written = ::write(File, Text, std::strlen(Text));
        };
        put(FHeader);
        put("The last actions, the last one running:\n");
        for (int i = std::max(0, FCount - Lines); i < FCount; ++i)
            put(FLines[i % Lines]);
    }

private:
    static constexpr int Width = 300;
    char FHeader[128] = {};
    char FLines[Lines][Width] = {};
    std::atomic<int> FCount{0};
};

// The log of the run in progress, for the crash report.
std::atomic<const TActionLog*> RunningLog{nullptr};

const int CrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
struct sigaction PreviousCrashActions[std::size(CrashSignals)];

void ReportCrash(int Signal)
{
    if (const TActionLog* log = RunningLog.load()) {
        const char header[] = "\n*** The monkey test died of a signal.\n";
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, header, sizeof header - 1);
        log->Write(STDERR_FILENO);
    }
    for (size_t i = 0; i < std::size(CrashSignals); ++i)
        if (CrashSignals[i] == Signal) sigaction(Signal, &PreviousCrashActions[i], nullptr);
    // A fault repeats when the handler returns, now for the previous handler;
    // an abort is raised again.
    if (Signal == SIGABRT) raise(Signal);
}

// While it lives, a crash writes the seed and the last actions to standard
// error, and an action that does not end within HangSeconds ends the program
// the same way.
class TCrashReport {
public:
    explicit TCrashReport(const TActionLog& Log)
    {
        RunningLog = &Log;
        struct sigaction action = {};
        action.sa_handler = ReportCrash;
        sigemptyset(&action.sa_mask);
        for (size_t i = 0; i < std::size(CrashSignals); ++i)
            sigaction(CrashSignals[i], &action, &PreviousCrashActions[i]);
        FWatch = std::thread([this] { Watch(); });
    }
    ~TCrashReport()
    {
        {
            std::lock_guard<std::mutex> lock(FMutex);
            FStop = true;
        }
        FWake.notify_all();
        FWatch.join();
        for (size_t i = 0; i < std::size(CrashSignals); ++i)
            sigaction(CrashSignals[i], &PreviousCrashActions[i], nullptr);
        RunningLog = nullptr;
    }
    TCrashReport(const TCrashReport&) = delete;
    TCrashReport& operator=(const TCrashReport&) = delete;

    // An action ended.
    void Progress() { ++FProgress; }

private:
    void Watch()
    {
        std::unique_lock<std::mutex> lock(FMutex);
        long long seen = FProgress;
        auto since = std::chrono::steady_clock::now();
        while (!FWake.wait_for(lock, std::chrono::seconds(1), [this] { return FStop; })) {
            if (FProgress != seen) {
                seen = FProgress;
                since = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - since >
                       std::chrono::seconds(HangSeconds)) {
                std::fprintf(stderr, "\n*** The monkey test hangs: no action ended in %d s.\n",
                             HangSeconds);
                std::abort();
            }
        }
    }

    std::thread FWatch;
    std::mutex FMutex;
    std::condition_variable FWake;
    bool FStop = false;
    std::atomic<long long> FProgress{0};
};

// ---- the expected finite tensor -----------------------------------------------

// The product of the increments applied since the last restore, accepted or
// refused one by one as the window's strain ellipse does.
class TFiniteTensorModel {
public:
    void Restore()
    {
        FStrain = TStrainEllipse();
        FFlows.clear();
    }
    void Deform(const std::array<double, 4>& Flow, int Count)
    {
        const TTransformMatrix l = MakeTensor2D(Flow[0], Flow[1], Flow[2], Flow[3]);
        for (int k = 0; k < std::min(Count, MaxIncrementsPerClick); ++k) {
            FStrain.Accumulate(l);
            FFlows.push_back(Flow);
        }
    }
    // Back one increment, when there is one: all but the last again.
    void StepBack()
    {
        if (FFlows.empty()) return;
        std::vector<std::array<double, 4>> flows = std::move(FFlows);
        flows.pop_back();
        Restore();
        for (const auto& flow : flows)
            Deform(flow, 1);
    }
    std::array<double, 4> F() const
    {
        const TTransformMatrix& f = FStrain.Deformation;
        return {f.Elem[1][1], f.Elem[1][2], f.Elem[2][1], f.Elem[2][2]};
    }
    // Whether the display shows F to 4 decimals.
    bool Comparable() const
    {
        for (double e : F())
            if (!std::isfinite(e) || std::fabs(e) > LargestComparedEntry) return false;
        return true;
    }

private:
    TStrainEllipse FStrain;
    std::vector<std::array<double, 4>> FFlows; // of each increment since the restore
};

// What "Deformar" reads when it is pressed.
struct TDeformInput {
    std::array<double, 4> Flow{};
    bool Readable = true;
};

std::string Describe(const std::array<double, 4>& M)
{
    std::ostringstream out;
    out.precision(17);
    out << "(" << M[0] << ", " << M[1] << "; " << M[2] << ", " << M[3] << ")";
    return out.str();
}

// ---- Qt's notices ---------------------------------------------------------------

// The offscreen platform notes every pop-up menu and dialog it cannot raise
// or give the keyboard to; thousands of such lines would bury the report.
QtMessageHandler PreviousQtHandler = nullptr;

void QuietPlatformNotices(QtMsgType Type, const QMessageLogContext& Context, const QString& Text)
{
    if (Text.startsWith("This plugin does not support")) return;
    if (PreviousQtHandler) PreviousQtHandler(Type, Context, Text);
}

// ---- one run ------------------------------------------------------------------------

// The program's three windows, fresh for one seed, and a random walk over
// the main window with the checks after each action.
class TMonkeyRun : public TWindows {
public:
    explicit TMonkeyRun(uint32_t Seed);
    ~TMonkeyRun() override;
    TMonkeyRun(const TMonkeyRun&) = delete;
    TMonkeyRun& operator=(const TMonkeyRun&) = delete;

    // Runs Actions actions; returns the first fault, empty when there is none.
    std::string Run(int Actions);
    // The actions that ended, checked.
    int ActionsDone() const { return FDone; }

private:
    // ---- actions
    void EnterFlowEntry();
    void SlideTrackBar();
    void SetTrackBarPosition();
    void EnterIncrementCount();
    void EnterRotation();
    void Deform();
    void StopARun();
    void Restore();
    void Reset();
    void ChoosePreset();
    void ToggleShape();
    void ToggleChart();
    void ChooseTab();
    void Enlarge();
    void ResizeWindow();
    void StepWithAKey();
    void ChangeMarkers();
    void SaveAndOpenExercise();

    // ---- ways of using the controls
    // The busy pause of each increment: counts it, and stops a run when told.
    void Paused();
    void Note(const std::string& Description);
    // Runs a direct call as the event loop would: an exception is kept as a fault.
    void Guarded(const std::function<void()>& Call);
    // Types, pastes or deletes in a field, then maybe leaves it.
    enum class TField { Number, Angle, Count };
    void Enter(QLineEdit* Field, const QString& Text, TField Kind);
    void InsideEnlargedView(QWidget* Control, int Inside, int Close);
    void ChooseFromPopupMenu(QWidget* Control, bool Copy);

    // ---- the model of the finite tensor, fed by the window's own buttons
    void WatchButtons();
    TDeformInput ReadDeformInput() const;

    // ---- checks
    std::string Check(qint64 Milliseconds);
    std::string CheckMessages();
    std::string CheckEnlargedViewClosed() const;
    std::string CheckFiniteTensor() const;
    std::string CheckFiniteValues() const;

    uint32_t FSeed;
    TRandom FRandom;

    TActionLog FLog;
    int FIndex = 0;
    int FDone = 0;
    size_t FMessagesSeen = 0;
    std::string FEscaped; // exceptions out of direct calls
    std::string FActionFault;

    TFiniteTensorModel FModel;
    std::optional<TDeformInput> FPressed;
    int FApplied = 0; // increments of the click in progress, one pause each
    // A run stopped after this many increments, by Esc or by "Detener",
    // with other input during the run that must be ignored.
    int FStopAt = 0;

    // The controls that can be enlarged, with their parents in the window.
    struct THome {
        QWidget* Control;
        QWidget* Parent;
    };
    std::vector<THome> FHomes;
    int FOpenings = 0;
    bool FOpened = false;
};

TMonkeyRun::TMonkeyRun(uint32_t Seed) : FSeed(Seed), FRandom(Seed)
{
    PreviousQtHandler = qInstallMessageHandler(QuietPlatformNotices);
    OnPause = [this] { Paused(); };
    if (!shown) FActionFault = "the window was not shown";
    WatchButtons();
    for (QWidget* control : std::initializer_list<QWidget*>{
             form->Chart1, form->Chart2, form->Chart3, form->Chart4, form->Chart5, form->Chart6,
             form->MathImage1, form->MathImage2})
        FHomes.push_back({control, control->parentWidget()});
}

TMonkeyRun::~TMonkeyRun()
{
    qInstallMessageHandler(PreviousQtHandler);
}

std::string TMonkeyRun::Run(int Actions)
{
    using TAction = void (TMonkeyRun::*)();
    struct TKind {
        int Weight;
        TAction Act;
    };
    static const TKind kinds[] = {
        {18, &TMonkeyRun::EnterFlowEntry},
        {10, &TMonkeyRun::SlideTrackBar},
        {6, &TMonkeyRun::SetTrackBarPosition},
        {4, &TMonkeyRun::EnterIncrementCount},
        {6, &TMonkeyRun::EnterRotation},
        {20, &TMonkeyRun::Deform},
        {4, &TMonkeyRun::StopARun},
        {3, &TMonkeyRun::Restore},
        {2, &TMonkeyRun::Reset},
        {5, &TMonkeyRun::ChoosePreset},
        {6, &TMonkeyRun::ToggleShape},
        {3, &TMonkeyRun::ToggleChart},
        {3, &TMonkeyRun::ChooseTab},
        {3, &TMonkeyRun::Enlarge},
        {5, &TMonkeyRun::ResizeWindow},
        {8, &TMonkeyRun::StepWithAKey},
        {2, &TMonkeyRun::ChangeMarkers},
        {2, &TMonkeyRun::SaveAndOpenExercise},
    };
    int total = 0;
    for (const TKind& kind : kinds)
        total += kind.Weight;

    FLog.Begin(FSeed, Actions);
    TCrashReport report(FLog);
    const auto fault = [&](const std::string& What) {
        return "Seed " + std::to_string(FSeed) + ", action #" + std::to_string(FIndex) + " of " +
               std::to_string(Actions) + ": " + What + "\nThe last actions:\n" + FLog.Text() +
               "Replay with TENSIM_MONKEY_SEED=" + std::to_string(FSeed) +
               " TENSIM_MONKEY_ACTIONS=" + std::to_string(FIndex) + ".";
    };
    if (!FActionFault.empty()) return fault(FActionFault);
    const std::string atStart = Check(0);
    if (!atStart.empty()) return fault("at the start: " + atStart);

    for (FIndex = 1; FIndex <= Actions; ++FIndex) {
        // The user works in the main window.
        if (QApplication::activeWindow() != form.get()) QApplication::setActiveWindow(form.get());
        int pick = FRandom.Int(1, total);
        const TKind* kind = kinds;
        while (pick > kind->Weight)
            pick -= (kind++)->Weight;
        QElapsedTimer timer;
        timer.start();
        (this->*kind->Act)();
        QCoreApplication::processEvents();
        const qint64 milliseconds = timer.elapsed();
        report.Progress();
        const std::string found = Check(milliseconds);
        if (!found.empty()) return fault(found);
        FDone = FIndex;
    }
    return {};
}

// ---- ways of using the controls -------------------------------------------------

void TMonkeyRun::Note(const std::string& Description)
{
    FLog.Add(FIndex, Description);
}

void TMonkeyRun::Guarded(const std::function<void()>& Call)
{
    try {
        Call();
    } catch (const std::exception& e) {
        FEscaped += std::string("exception: ") + e.what() + "; ";
    } catch (...) {
        FEscaped += "unknown exception; ";
    }
}

void TMonkeyRun::Enter(QLineEdit* Field, const QString& Text, TField Kind)
{
    const bool spin = Kind != TField::Number;
    // The count is replaced as a whole, so that it stays within -3..20 but
    // for its arrows.
    const int way = Kind == TField::Count ? FRandom.Pick({0, 1, 3, 5}) : FRandom.Int(0, 5);
    const int leave = FRandom.Int(0, 2);
    const int length = static_cast<int>(Field->text().size());
    const int caret = FRandom.Int(0, length);
    const int keys = FRandom.Int(1, 5);
    bool forward = FRandom.Chance(0.5);
    if (Kind == TField::Count && way == 5)
        forward = form->NxSpinEditNoIncrements->Value() + keys <= 20;
    std::string what;
    switch (way) {
    case 0:
        what = "type " + Shown(Text) + " over all of ";
        break;
    case 1:
        what = "paste " + Shown(Text) + " over all of ";
        break;
    case 2:
        what = "type " + Shown(Text) + " at " + std::to_string(caret) + " in ";
        break;
    case 3:
        what = std::string(forward ? "Delete" : "Backspace") + " all of ";
        break;
    case 4:
        what = std::to_string(keys) + (forward ? " x Delete" : " x Backspace") + " at " +
               std::to_string(caret) + " in ";
        break;
    default:
        what = spin ? std::to_string(keys) + (forward ? " x Up in " : " x Down in ")
                    : "keypad separator and " + Shown(Text) + " over all of ";
        break;
    }
    what += Name(Field) + " (\"" + Field->text().left(30).toStdString() + "\"" +
            (Field->isEnabled() ? "" : ", disabled") + ")";
    what += leave == 0 ? ", then Deformar takes the focus" : leave == 1 ? ", then Tab" : "";
    Note(what);

    Field->setFocus(Qt::TabFocusReason);
    if (way == 2 || way == 4)
        Field->setCursorPosition(caret);
    else
        Field->selectAll();
    switch (way) {
    case 0:
    case 2:
        QTest::keyClicks(Field, Text);
        break;
    case 1:
        QGuiApplication::clipboard()->setText(Text);
        QTest::keyClick(Field, Qt::Key_V, Qt::ControlModifier);
        break;
    case 3:
        QTest::keyClick(Field, forward ? Qt::Key_Delete : Qt::Key_Backspace);
        break;
    case 4:
        for (int i = 0; i < keys; ++i)
            QTest::keyClick(Field, forward ? Qt::Key_Delete : Qt::Key_Backspace);
        break;
    default:
        if (spin) {
            for (int i = 0; i < keys; ++i)
                QTest::keyClick(Field, forward ? Qt::Key_Up : Qt::Key_Down);
        } else {
            QTest::keyClick(Field, Qt::Key_Comma, Qt::KeypadModifier);
            QTest::keyClicks(Field, Text);
        }
        break;
    }
    if (leave == 0)
        form->bitbtnDef->setFocus(Qt::TabFocusReason);
    else if (leave == 1)
        QTest::keyClick(Field, Qt::Key_Tab);
}

// ---- actions ---------------------------------------------------------------------

void TMonkeyRun::EnterFlowEntry()
{
    const std::array<TNxNumEdit*, 4> all = form->FlowEdits();
    std::vector<TNxNumEdit*> edits;
    for (TNxNumEdit* edit : all)
        if (edit->isEnabled()) edits.push_back(edit);
    // Now and then the keys go to a field that does not take them.
    if (edits.empty() || FRandom.Chance(0.1)) edits.assign(all.begin(), all.end());
    TNxNumEdit* edit = FRandom.Pick(edits);
    Enter(edit, NumberText(FRandom), TField::Number);
}

void TMonkeyRun::SlideTrackBar()
{
    std::vector<TTrackBar*> bars;
    for (TTrackBar* bar : form->TrackBars())
        if (bar->isVisible() && bar->isEnabled()) bars.push_back(bar);
    if (bars.empty()) return EnterRotation();
    TTrackBar* bar = FRandom.Pick(bars);
    const Qt::Key key = FRandom.Pick({Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down,
                                      Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End});
    const int times = FRandom.Int(1, 5);
    Note(std::to_string(times) + " x " + KeyName(key) + " on " + Name(bar) + " (position " +
         std::to_string(bar->Position()) + ")");
    bar->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < times; ++i)
        QTest::keyClick(bar, key);
}

void TMonkeyRun::SetTrackBarPosition()
{
    std::vector<TTrackBar*> bars;
    for (TTrackBar* bar : form->TrackBars())
        if (bar->isVisible() && bar->isEnabled()) bars.push_back(bar);
    if (bars.empty()) return EnterRotation();
    TTrackBar* bar = FRandom.Pick(bars);
    const int position = FRandom.Int(-25, 25);
    Note("SetPosition(" + std::to_string(position) + ") on " + Name(bar) + " (position " +
         std::to_string(bar->Position()) + ")");
    Guarded([&] { bar->SetPosition(position); });
}

void TMonkeyRun::EnterIncrementCount()
{
    Enter(form->NxSpinEditNoIncrements, CountText(FRandom), TField::Count);
}

void TMonkeyRun::EnterRotation()
{
    if (!form->NxSpinEditRotation->isVisible()) {
        Note("choose " + Name(form->RadioButton5) + " for a rotation");
        return Click(form->RadioButton5);
    }
    Enter(form->NxSpinEditRotation, AngleText(FRandom), TField::Angle);
}

void TMonkeyRun::Deform()
{
    TNxSpinEdit* count = form->NxSpinEditNoIncrements;
    const QString text = CountText(FRandom);
    const int way = FRandom.Int(0, 3);
    const bool mouse = FRandom.Chance(0.8);
    const bool up = FRandom.Chance(0.5) && count->Value() < 20;
    std::string what = "Deformar";
    if (way == 1) what += " with the count set to " + Shown(text);
    if (way == 2) what += " with " + Shown(text) + " typed as the count";
    if (way == 3) what += up ? " with the count's Up key" : " with the count's Down key";
    what += " (count \"" + count->text().toStdString() + "\"), " + (mouse ? "clicked" : "Space");
    Note(what);

    if (way == 1) {
        Guarded([&] { count->setText(text); });
    } else if (way == 2) {
        count->setFocus(Qt::TabFocusReason);
        count->selectAll();
        QTest::keyClicks(count, text);
    } else if (way == 3) {
        count->setFocus(Qt::TabFocusReason);
        QTest::keyClick(count, up ? Qt::Key_Up : Qt::Key_Down);
    }
    if (mouse) {
        Click(form->bitbtnDef);
    } else {
        form->bitbtnDef->setFocus(Qt::TabFocusReason);
        QTest::keyClick(form->bitbtnDef, Qt::Key_Space);
    }
}

void TMonkeyRun::StopARun()
{
    const int count = FRandom.Int(2, 20);
    FStopAt = FRandom.Int(1, count);
    Note("Deformar " + std::to_string(count) + " increments, stopped after " +
         std::to_string(FStopAt) + ", with a click elsewhere during the run");
    Guarded([&] { form->NxSpinEditNoIncrements->setText(QString::number(count)); });
    const int stopAt = FStopAt;
    Click(form->bitbtnDef);
    if (FApplied != stopAt)
        FActionFault = "the run stopped after " + std::to_string(FApplied) + " increments";
    FStopAt = 0;
}

void TMonkeyRun::Paused()
{
    ++FApplied;
    if (FStopAt == 0 || FApplied != FStopAt) return;
    FStopAt = 0;
    // Ignored while the run lasts.
    Click(FRandom.Pick({form->bitbtnResta, form->bitbtnReest}));
    const bool escape = FRandom.Chance(0.5);
    Note(escape ? "stop by Esc" : "stop by Detener");
    if (escape)
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : form.get(),
                        Qt::Key_Escape);
    else
        Click(form->bitbtnDef);
}

void TMonkeyRun::StepWithAKey()
{
    // -> and <- step where no edit has the focus, Ctrl+-> and Ctrl+Z everywhere.
    QWidget* focus = FRandom.Pick<QWidget*>({form->bitbtnDef, form->chbxTri, form->NxNumEdit2,
                                             form->NxSpinEditNoIncrements, form->TrackBar2});
    const bool forward = FRandom.Chance(0.6), control = FRandom.Chance(0.4);
    const Qt::Key key = forward ? Qt::Key_Right : control ? Qt::Key_Z : Qt::Key_Left;
    Note(std::string(control ? "Ctrl+" : "") +
         (forward            ? "Right"
          : key == Qt::Key_Z ? "Z"
                             : "Left") +
         " on " + Name(focus));
    focus->setFocus(Qt::TabFocusReason);
    // A disabled control takes no focus: the key goes where the focus is.
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
    const bool steps =
        control || !(qobject_cast<QLineEdit*>(target) || qobject_cast<TTrackBar*>(target));
    const TDeformInput input = ReadDeformInput();
    FApplied = 0;
    QTest::keyClick(target, key, control ? Qt::ControlModifier : Qt::NoModifier);
    if (!steps) return;
    if (!forward)
        FModel.StepBack();
    else if (input.Readable)
        FModel.Deform(input.Flow, FApplied);
}

void TMonkeyRun::ChangeMarkers()
{
    if (FRandom.Chance(0.3)) {
        Note("Nueva población");
        return Click(form->bitbtnNewMarkers);
    }
    // A marker file, sound or mutated, of up to a few thousand markers.
    QByteArray text;
    const int count = FRandom.Chance(0.1) ? FRandom.Int(1000, 5000) : FRandom.Int(0, 60);
    for (int i = 0; i < count; ++i)
        text += DecimalText(FRandom, 1).toUtf8() + ", " + DecimalText(FRandom, 1).toUtf8() +
                ", 0." + FRandom.Digits(2).toUtf8() + ",0.0" + FRandom.Digits(1).toUtf8() +
                (FRandom.Chance(0.5) ? "\t" : ",") + AngleText(FRandom).toUtf8() + "\n";
    for (int k = FRandom.Chance(0.5) ? FRandom.Int(1, 4) : 0; k > 0 && !text.isEmpty(); --k)
        text[FRandom.Int(0, static_cast<int>(text.size()) - 1)] =
            FRandom.Pick<char>({'x', ',', '\t', '\n', '-', '.', '\0', 'e', '9'});
    const QString path = QString(TENSIM_BUILD_DIR) + "/monkey-markers.txt";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return void(FActionFault = "the marker file could not be written");
    file.close();
    Note("load " + std::to_string(text.count('\n')) + " lines of markers");
    bool loaded = false;
    Guarded([&] { loaded = form->LoadMarkerFile(path); });
    // A file that is refused is said so; the message is expected.
    if (loaded)
        FModel.Restore();
    else if (messages.messages.size() == FMessagesSeen + 1)
        ++FMessagesSeen;
}

// Whatever state the window is in, its exercise file opens to the same
// state; one the window could not open again is refused with a message.
void TMonkeyRun::SaveAndOpenExercise()
{
    Note("save and open the exercise");
    const QString path = QString(TENSIM_BUILD_DIR) + "/monkey.tensim";
    bool saved = false;
    Guarded([&] { saved = form->SaveExercise(path); });
    if (!saved) {
        if (messages.messages.size() == FMessagesSeen + 1) ++FMessagesSeen;
        return;
    }
    // A click of no increment builds its field without drawing it: compared
    // as the next redraw shows it.
    Model().RedrawPanels();
    const TWindowState before = WindowState();
    const auto flow = [&] {
        std::array<double, 4> entries{};
        for (int i = 0; i < 4; ++i)
            entries[i] = static_cast<double>(form->FlowEdits()[i]->Value());
        return entries;
    };
    const std::array<double, 4> entries = flow();
    bool opened = false;
    Guarded([&] { opened = form->OpenExercise(path); });
    if (!opened)
        FActionFault = "a saved exercise did not open";
    else if (const TWindowState after = WindowState(); after != before) {
        // Which of the panels, the series and the texts differ: 0 for the same.
        FActionFault = "the exercise opened to another state (" +
                       std::to_string(std::get<0>(after) != std::get<0>(before)) +
                       std::to_string(std::get<1>(after) != std::get<1>(before)) +
                       std::to_string(std::get<2>(after) != std::get<2>(before)) +
                       std::to_string(std::get<3>(after) != std::get<3>(before)) + ")";
    } else if (flow() != entries)
        FActionFault = "the exercise opened to other flow entries";
}

void TMonkeyRun::Restore()
{
    Note("Restaurar");
    Click(form->bitbtnResta);
}

void TMonkeyRun::Reset()
{
    Note("Reestablecer");
    Click(form->bitbtnReest);
}

void TMonkeyRun::ChoosePreset()
{
    QRadioButton* radio = FRandom.Pick({form->RadioButton1, form->RadioButton2, form->RadioButton3,
                                        form->RadioButton4, form->RadioButton5});
    Note("choose " + Name(radio) + " \"" + radio->text().toStdString() + "\"" +
         (radio->isChecked() ? " (already chosen)" : ""));
    Click(radio);
}

void TMonkeyRun::ToggleShape()
{
    QCheckBox* box =
        FRandom.Pick({form->chbxEllipse, form->chbxAxes, form->chbxTri, form->chbxVelFld,
                      form->chkbxAp, form->chkbxISA, form->chbxMarkers, form->chbxElongFields});
    Note("click " + Name(box) + (box->isChecked() ? " (checked)" : " (unchecked)") +
         (box->isEnabled() ? "" : ", disabled"));
    Click(box);
}

void TMonkeyRun::ToggleChart()
{
    std::vector<QCheckBox*> boxes;
    for (QCheckBox* box : {form->chbxExtRaxial, form->chbxOrientRaxial, form->chbxMohrFlujo,
                           form->chbxMohrDef, form->chbxRfPhi, form->chbxPolar})
        if (box->isVisible()) boxes.push_back(box);
    if (boxes.empty()) return ChooseTab();
    QCheckBox* box = FRandom.Pick(boxes);
    Note("click " + Name(box) + (box->isChecked() ? " (checked)" : " (unchecked)"));
    Click(box);
}

void TMonkeyRun::ChooseTab()
{
    QTabBar* tabs = form->PageControl1->tabBar();
    const int tab = FRandom.Int(0, tabs->count() - 1);
    Note("tab \"" + tabs->tabText(tab).toStdString() + "\" of Visualizar");
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
}

void TMonkeyRun::Enlarge()
{
    std::vector<QWidget*> shown;
    for (const THome& home : FHomes)
        if (home.Control->isVisible()) shown.push_back(home.Control);
    if (shown.empty()) return ChooseTab();
    QWidget* control = FRandom.Pick(shown);
    // Inside: 0..3 nothing, 4..5 copy through the pop-up menu, 6 open and
    // dismiss the menu, 7 copy directly. Close: reject, Escape or close.
    const int inside = FRandom.Int(0, 7), close = FRandom.Int(0, 2);
    const char* insides[] = {"nothing",        "nothing",        "nothing",        "nothing",
                             "copy from menu", "copy from menu", "menu dismissed", "copy directly"};
    const char* closes[] = {"reject", "Escape", "close"};
    Note("double click " + Name(control) + " to enlarge it, " + insides[inside] + ", " +
         closes[close]);

    const int opening = ++FOpenings;
    FOpened = false;
    QTimer::singleShot(0, enlarged.get(), [this, control, inside, close, opening] {
        if (opening != FOpenings || !enlarged->isVisible()) return;
        FOpened = true;
        InsideEnlargedView(control, inside, close);
    });
    // A view that does not close is a fault, and must not stop the run.
    QTimer::singleShot(5000, enlarged.get(), [this, opening] {
        if (opening != FOpenings || !enlarged->isVisible()) return;
        FActionFault = "the enlarged view did not close";
        enlarged->done(QDialog::Rejected);
    });
    QTest::mouseDClick(control, Qt::LeftButton, {}, control->rect().center());
    if (!FOpened && FActionFault.empty())
        FActionFault = "a double click on " + Name(control) + " did not open the enlarged view";
}

void TMonkeyRun::InsideEnlargedView(QWidget* Control, int Inside, int Close)
{
    if (Inside == 4 || Inside == 5 || Inside == 6) ChooseFromPopupMenu(Control, Inside != 6);
    if (Inside == 7) enlarged->Copiaralportapapeles1->trigger();
    if (Close == 0)
        enlarged->reject();
    else if (Close == 1)
        QTest::keyClick(enlarged.get(), Qt::Key_Escape);
    else
        enlarged->close();
}

void TMonkeyRun::ChooseFromPopupMenu(QWidget* Control, bool Copy)
{
    QTimer::singleShot(0, enlarged.get(), [this, Copy] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        if (Copy) {
            menu->setActiveAction(enlarged->Copiaralportapapeles1);
            QTest::keyClick(menu, Qt::Key_Return);
        } else {
            QTest::keyClick(menu, Qt::Key_Escape);
        }
        if (menu->isVisible()) menu->close();
    });
    // The right click on the enlarged control, which passes it to the view.
    const QPoint at = Control->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, Control->mapToGlobal(at));
    QApplication::sendEvent(Control, &event);
}

void TMonkeyRun::ResizeWindow()
{
    QSize size(FRandom.Int(300, 2500), FRandom.Int(200, 1500));
    if (FRandom.Chance(0.2))
        size = FRandom.Pick({QSize(300, 200), QSize(400, 300), QSize(2500, 1500), QSize(300, 1500),
                             QSize(2500, 200), QSize(792, 573)});
    Note("resize the window to " + std::to_string(size.width()) + " x " +
         std::to_string(size.height()));
    Guarded([&] { form->resize(size); });
}

// ---- the model of the finite tensor ---------------------------------------------

void TMonkeyRun::WatchButtons()
{
    // Pressing reads what the click will read: the focus has left the edits.
    // A press and click during a run are those of "Detener".
    QObject::connect(form->bitbtnDef, &QAbstractButton::pressed, form.get(), [this] {
        if (Model().Running()) return;
        FPressed = ReadDeformInput();
        FApplied = 0;
    });
    // Connected after the window's own handlers, these run after them. The
    // increments applied are those that paused.
    QObject::connect(form->bitbtnDef, &QAbstractButton::clicked, form.get(), [this] {
        if (Model().Running()) return;
        if (FPressed && FPressed->Readable) FModel.Deform(FPressed->Flow, FApplied);
        FPressed.reset();
    });
    for (QAbstractButton* button : {form->bitbtnResta, form->bitbtnReest, form->bitbtnNewMarkers})
        QObject::connect(button, &QAbstractButton::clicked, form.get(),
                         [this] { FModel.Restore(); });
    for (QRadioButton* radio : {form->RadioButton1, form->RadioButton2, form->RadioButton3,
                                form->RadioButton4, form->RadioButton5})
        QObject::connect(radio, &QRadioButton::toggled, form.get(), [this](bool On) {
            if (On) FModel.Restore();
        });
}

TDeformInput TMonkeyRun::ReadDeformInput() const
{
    TDeformInput input;
    try {
        for (int i = 0; i < 4; ++i)
            input.Flow[i] = static_cast<double>(form->FlowEdits()[i]->Value());
    } catch (const std::exception&) {
        input.Readable = false;
    }
    return input;
}

// ---- checks ----------------------------------------------------------------------

std::string TMonkeyRun::Check(qint64 Milliseconds)
{
    std::string found = CheckMessages();
    if (!FEscaped.empty()) found += "a direct call raised an " + FEscaped;
    FEscaped.clear();
    if (!FActionFault.empty()) found += FActionFault + "; ";
    FActionFault.clear();
    if (Milliseconds > MaxActionMilliseconds)
        found += "the action took " + std::to_string(Milliseconds) + " ms; ";
    found += CheckEnlargedViewClosed();
    if (Model().Running() || form->bitbtnDef->text() != "&Deformar" ||
        QApplication::overrideCursor())
        found += "a run of increments did not end; ";
    found += CheckFiniteTensor();
    found += CheckFiniteValues();
    return found;
}

// The out-of-range warnings of the edits are expected; any other message,
// an error above all, means that something went wrong.
std::string TMonkeyRun::CheckMessages()
{
    std::string found;
    for (; FMessagesSeen < messages.messages.size(); ++FMessagesSeen) {
        const TMessage& m = messages.messages[FMessagesSeen];
        if (m.Kind == TMessageKind::Warning && m.Text == "Value out of range!") continue;
        const char* kind = m.Kind == TMessageKind::Error     ? "error"
                           : m.Kind == TMessageKind::Warning ? "warning"
                                                             : "information";
        found += std::string("the window showed the ") + kind + " \"" + m.Text + "\"; ";
    }
    return found;
}

std::string TMonkeyRun::CheckEnlargedViewClosed() const
{
    std::string found;
    if (enlarged->isVisible()) found += "the enlarged view is still open; ";
    for (const THome& home : FHomes)
        if (home.Control->parentWidget() != home.Parent)
            found += Name(home.Control) + " did not come back from the enlarged view; ";
    return found;
}

std::string TMonkeyRun::CheckFiniteTensor() const
{
    if (!FModel.Comparable()) return {};
    const std::array<double, 4> expected = FModel.F();
    std::array<double, 4> shown{};
    bool differs = false;
    for (int i = 0; i < 4; ++i) {
        long double value = 0;
        try {
            value = form->FiniteEdits()[i]->Value();
        } catch (const std::exception& e) {
            return std::string("the finite tensor cannot be read: ") + e.what() + "; ";
        }
        shown[i] = static_cast<double>(value);
        const long double tolerance = 5e-5L + 1e-9L * std::fabs(expected[i]);
        differs = differs || !(std::fabs(value - expected[i]) <= tolerance);
    }
    if (!differs) return {};
    return "the finite tensor shows " + Describe(shown) + " where the increments applied give " +
           Describe(expected) + "; ";
}

std::string TMonkeyRun::CheckFiniteValues() const
{
    std::ostringstream found;
    int count = 0;
    const auto number = [&](const std::string& What, double Value) {
        if (std::isfinite(Value) || ++count > 5) return;
        found << What << " is " << Value << "; ";
    };
    const auto vector = [&](const std::string& What, const TTransformVector& V) {
        number(What + " x", V.Elem[1]);
        number(What + " y", V.Elem[2]);
    };
    const auto lines = [&](const std::string& What, const TPointList2D& List) {
        for (int i = 1; i <= List.Count(); ++i) {
            const auto* line = dynamic_cast<const TLine2D*>(List.GetPoint(i));
            if (!line) continue;
            vector(What + " " + std::to_string(i) + " start", line->Position());
            vector(What + " " + std::to_string(i) + " end", line->EndPoint());
        }
    };
    const auto strain = [&](const std::string& What, const TStrainEllipse& S) {
        for (int i = 1; i <= 2; ++i)
            for (int j = 1; j <= 2; ++j)
                number(What + " F" + std::to_string(i) + std::to_string(j),
                       S.Deformation.Elem[i][j]);
        vector(What + " centre", S.Centre);
    };

    for (const TChart* chart :
         {form->Chart1, form->Chart2, form->Chart3, form->Chart4, form->Chart5, form->Chart6})
        for (int s = 0; s < chart->SeriesCount(); ++s) {
            const TChartSeries* series = chart->SeriesList(s);
            for (int i = 0; i < series->Count(); ++i) {
                const std::string point =
                    Name(chart) + " series " + std::to_string(s) + " point " + std::to_string(i);
                number(point + " x", series->XValues.Value(i));
                number(point + " y", series->YValues.Value(i));
            }
        }
    strain("the ellipse", Model().FEllipse->Strain());
    lines("the ellipse's axis", *Model().FEllipse);
    lines("triangle side", *Model().FTriangle);
    lines("velocity arrow", *Model().FFlowField);
    lines("apophysis", *Model().FApophyses);
    lines("stretching axis", *Model().FStretchingAxes);
    const TParallelogram2& square = *Model().FUnitSquare;
    for (int i = 1; i <= square.Count(); ++i)
        vector("unit square vertex " + std::to_string(i), square.GetPoint(i)->Position());
    if (square.Count() == 3) {
        const TTransformVector &p1 = square.GetPoint(1)->Position(),
                               &p2 = square.GetPoint(2)->Position(),
                               &p3 = square.GetPoint(3)->Position();
        for (int k = 1; k <= 2; ++k)
            number("unit square vertex 4 " + std::string(k == 1 ? "x" : "y"),
                   p2.Elem[k] + p3.Elem[k] - p1.Elem[k]);
    }
    strain("the unit square's ellipse", square.Ellipse().Strain());
    for (const TMathImage* image : {form->MathImage1, form->MathImage2}) {
        number(Name(image) + " world X1", image->d2WorldX1());
        number(Name(image) + " world Y1", image->d2WorldY1());
        number(Name(image) + " world X2", image->d2WorldX2());
        number(Name(image) + " world Y2", image->d2WorldY2());
    }
    if (count > 5) found << "and " << count - 5 << " more values that are not finite; ";
    return found.str();
}

// ---- the test --------------------------------------------------------------------------

TEST(Monkey, RandomUserActionsKeepTheWindowConsistent)
{
    const long long actions = EnvironmentNumber("TENSIM_MONKEY_ACTIONS", DefaultActions);
    std::vector<uint32_t> seeds(std::begin(DefaultSeeds), std::end(DefaultSeeds));
    if (!qEnvironmentVariableIsEmpty("TENSIM_MONKEY_SEED"))
        seeds = {static_cast<uint32_t>(EnvironmentNumber("TENSIM_MONKEY_SEED", 1))};
    const long long perSeed =
        std::max<long long>(1, actions / static_cast<long long>(seeds.size()));
    for (uint32_t seed : seeds) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        QElapsedTimer timer;
        timer.start();
        TMonkeyRun run(seed);
        const std::string fault = run.Run(static_cast<int>(std::min<long long>(perSeed, 1 << 30)));
        if (!fault.empty()) ADD_FAILURE() << fault;
        std::printf("Monkey seed %u: %d actions in %.1f s\n", seed, run.ActionsDone(),
                    timer.elapsed() / 1000.0);
    }
}

} // namespace
} // namespace tensim
