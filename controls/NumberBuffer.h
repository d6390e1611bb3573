#pragma once
// The text of a numeric edit while a key edits it: text, caret and selection,
// and the rules by which typed characters, Backspace and Delete keep the text
// a well-formed number in the field's format. Separators are one character
// each; the field passes them in.

#include <QChar>
#include <QString>

#include <optional>

namespace tensim {

enum class TNumberFormat { Standard, Thousands, Scientific, Engineering };

// Text with every Thousand removed (nothing removed when Thousand is null).
QString WithoutThousands(QString Text, QChar Thousand);

// Reads a text as the field shows it: thousands separators are skipped, an
// empty text reads as 0, and the rest must read as
// [blanks][sign](digits[sep[digits]] | sep[digits])[E[sign][digits]][blanks].
// Only finite values are numbers; anything else reads as none.
std::optional<long double> ReadNumber(const QString& Text, QChar Decimal, QChar Thousand);

// Positions are 0-based character indices; the caret is SelStart.
class TNumberBuffer {
public:
    QString Text;
    int SelStart = 0;
    int SelLength = 0;
    QChar Decimal = '.';
    QChar Thousand; // null: none
    int Decimals = -1;
    TNumberFormat Format = TNumberFormat::Standard;
    QString ZeroText = "0"; // the text for 0, left when all is deleted

    void SetCaret(int Caret);
    // One Backspace or Delete with no selection.
    void DeleteOneChar(bool Backspace);
    void DeleteSelection();
    // The Backspace or Delete key: the selection if there is one, else one character.
    void DeleteKey(bool Backspace);
    // One typed character; false when it changes nothing.
    bool TypeChar(QChar Char);
    // Thousands format, after a key: shows Grouped, the text for the value
    // with its thousands separators where they belong, when it gains or moves
    // a separator or Forced (Enter or Space); the caret follows the digits.
    // False when the text stays.
    bool Regroup(const QString& Grouped, bool Forced);

private:
    int Size() const { return static_cast<int>(Text.size()); }
    // 1-based position of c, 0 when absent.
    int Pos(QChar c) const { return static_cast<int>(Text.indexOf(c)) + 1; }
    bool IsSkip(QChar c) const;
    void Select(int Index);
    // A digit at the caret; false when it is refused.
    bool TypeDigit(QChar Digit);
};

} // namespace tensim
