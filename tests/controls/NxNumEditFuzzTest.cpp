// Random key, paste, selection, caret and focus sequences on a numeric edit:
// whatever happens, the text stays a number whose formatted text reads back.

#include "controls/NxNumEdit.h"

#include "tests/MessageRecorder.h"
#include "tests/controls/EditTestSupport.h"

#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>

#include <cmath>
#include <random>
#include <sstream>

namespace tensim {
namespace {

class Fuzzer {
public:
    Fuzzer(TNxNumEdit& edit, TNxNumEdit& probe, unsigned seed)
        : edit_(edit), probe_(probe), rng_(seed)
    {
    }

    // One random action; returns a short description of it.
    std::string Step()
    {
        const int kind = Uniform(0, 99);
        if (kind < 42) {
            const QString c = RandomChar();
            Key(Qt::Key_A, c, Qt::NoModifier); // the text decides, not the key code
            return "type '" + c.toStdString() + "'";
        }
        if (kind < 58) {
            const bool back = Uniform(0, 1) == 0;
            Key(back ? Qt::Key_Backspace : Qt::Key_Delete, back ? "\b" : "\x7f", Qt::NoModifier);
            return back ? "backspace" : "delete";
        }
        if (kind < 66) {
            static const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End};
            const Qt::Key key = keys[Uniform(0, 3)];
            Key(key, QString(), Uniform(0, 1) ? Qt::ShiftModifier : Qt::NoModifier);
            return "move " + std::to_string(key);
        }
        const int length = static_cast<int>(edit_.text().size());
        if (kind < 74) {
            const int caret = Uniform(0, length);
            edit_.setCursorPosition(caret);
            return "caret " + std::to_string(caret);
        }
        if (kind < 82) {
            const int start = Uniform(0, length);
            const int count = Uniform(-start, length - start);
            edit_.setSelection(start, count);
            return "select " + std::to_string(start) + " " + std::to_string(count);
        }
        if (kind < 88) {
            QString text;
            const int n = Uniform(0, 3) == 0 ? Uniform(0, 300) : Uniform(0, 8);
            for (int i = 0; i < n; ++i)
                text += RandomChar();
            QGuiApplication::clipboard()->setText(text);
            Key(Qt::Key_V, "\x16", Qt::ControlModifier);
            return "paste '" + text.toStdString() + "'";
        }
        if (kind < 91) {
            const bool cut = Uniform(0, 1) == 0;
            Key(cut ? Qt::Key_X : Qt::Key_C, cut ? "\x18" : "\x03", Qt::ControlModifier);
            return cut ? "cut" : "copy";
        }
        if (kind < 93) {
            Key(Qt::Key_Space, " ", Qt::NoModifier);
            return "space";
        }
        if (kind < 96) {
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(&edit_, &out);
            QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
            QApplication::sendEvent(&edit_, &in);
            return "leave and enter";
        }
        const long double v = RandomValue();
        edit_.SetValue(v);
        std::ostringstream s;
        s << "set " << static_cast<double>(v);
        return s.str();
    }

    // The text reads as a finite value; its text reads back to a value close
    // to it, whose text is the same (Engineering: whose text reads back close
    // to it again, since its truncated exponent can drop digits once more).
    void Check(const std::string& trace)
    {
        long double v = 0;
        try {
            v = edit_.Value();
        } catch (const std::exception& e) {
            FAIL() << e.what() << "\n" << trace;
        }
        ASSERT_TRUE(std::isfinite(v)) << trace;
        ASSERT_LE(edit_.text().size(), edit_.maxLength()) << trace;
        const QString text = edit_.FormatValue(v);
        long double back = 0;
        ASSERT_TRUE(ReadBack(text, back)) << trace;
        const long double tolerance =
            (edit_.Decimals() < 0 ? 1e-14L : 0.5e-4L) * std::max(1.0L, std::fabs(v));
        ASSERT_LE(std::fabs(back - v), tolerance) << text.toStdString() << "\n" << trace;
        const QString again = edit_.FormatValue(back);
        if (edit_.NumberFormat() != TNumberFormat::Engineering) {
            ASSERT_EQ(again.toStdString(), text.toStdString()) << trace;
        } else {
            long double twice = 0;
            ASSERT_TRUE(ReadBack(again, twice)) << trace;
            ASSERT_LE(std::fabs(twice - back), tolerance) << again.toStdString() << "\n" << trace;
        }
    }

private:
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

    QString RandomChar()
    {
        static const QString pool =
            QString::fromUtf8("0123456789012345678901234--eE.,.,+ a\u00a0\u00a0x");
        return QString(pool[Uniform(0, static_cast<int>(pool.size()) - 1)]);
    }

    long double RandomValue()
    {
        switch (Uniform(0, 4)) {
        case 0:
            return 0;
        case 1:
            return Uniform(-3000, 3000) / 1000.0L;
        case 2:
            return (Uniform(0, 1) ? -1 : 1) * std::pow(10.0L, Uniform(-400, 400) / 10.0L);
        case 3:
            return (Uniform(0, 1) ? -1 : 1) * std::pow(10.0L, Uniform(-4940, 4930));
        default:
            return Uniform(-1000000, 1000000);
        }
    }

    bool ReadBack(const QString& text, long double& value)
    {
        probe_.setText(text);
        try {
            value = probe_.Value();
        } catch (const std::exception&) {
            return false;
        }
        return std::isfinite(value);
    }

    void Key(Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers)
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(&edit_, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(&edit_, &release);
    }

    TNxNumEdit& edit_;
    TNxNumEdit& probe_;
    std::mt19937 rng_;
};

struct FuzzCase {
    int Decimals;
    const char* Decimal;
    const char* Thousand;
};

TEST(NxNumEditFuzz, RandomEditingAlwaysLeavesANumber)
{
    MessageRecorder messages; // out-of-range exits
    constexpr int SequencesPerCase = 1500, MaxSequence = 8;
    const FuzzCase cases[] = {{4, ".", ","}, {4, ",", "\u00a0"}, {-1, ".", ","}, {-1, ",", "."}};
    const TNumberFormat formats[] = {TNumberFormat::Standard, TNumberFormat::Thousands,
                                     TNumberFormat::Scientific, TNumberFormat::Engineering};
    unsigned seed = 1;
    int sequences = 0;
    for (const FuzzCase& c : cases) {
        Separators separators(c.Decimal, c.Thousand);
        for (TNumberFormat format : formats) {
            TNxNumEdit edit, probe;
            for (TNxNumEdit* e : {&edit, &probe}) {
                e->SetDecimals(c.Decimals);
                e->SetNumberFormat(format);
            }
            edit.SetMaxValue(2);
            edit.SetMinValue(-2);
            Fuzzer fuzzer(edit, probe, seed++);
            for (int s = 0; s < SequencesPerCase; ++s, ++sequences) {
                std::string trace = "decimals " + std::to_string(c.Decimals) + " format " +
                                    std::to_string(static_cast<int>(format)) + " sequence " +
                                    std::to_string(s) + ":";
                const int length = 1 + s % MaxSequence;
                for (int i = 0; i < length; ++i) {
                    try {
                        trace += " [" + edit.text().toStdString() + "] " + fuzzer.Step();
                    } catch (...) {
                        FAIL() << "exception escaped\n" << trace;
                    }
                    fuzzer.Check(trace);
                    if (testing::Test::HasFatalFailure()) return;
                }
            }
        }
    }
    EXPECT_EQ(sequences, 24000);
}

} // namespace
} // namespace tensim
