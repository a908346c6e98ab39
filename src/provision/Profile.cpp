#include "provision/Profile.h"

#include "provision/Selections.h"
#include "provision/Utf8.h"

namespace hw {

namespace {

// Characters of a line before its comment; more is refused, not cut.
const size_t kMaxLineChars = 200;

bool IsBlank(Char c) {
  return c == ' ' || c == '\t';
}

// The part of a line that matters: trimmed, without its comment.
struct Span {
  const Char* text;
  size_t length;
};

Span Trimmed(const Char* text, size_t length) {
  while (length > 0 && IsBlank(text[0])) {
    ++text;
    --length;
  }
  while (length > 0 && IsBlank(text[length - 1])) --length;
  const Span span = {text, length};
  return span;
}

bool HexDigit(Char c, UInt32* value) {
  if (c >= '0' && c <= '9')
    *value = c - '0';
  else if (c >= 'a' && c <= 'f')
    *value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    *value = c - 'A' + 10;
  else
    return false;
  return true;
}

// "0xN" or "0xNN".
bool ParseCode(Span value, UInt8* code) {
  if (value.length < 3 || value.length > 4 || value.text[0] != '0' ||
      (value.text[1] != 'x' && value.text[1] != 'X')) {
    return false;
  }
  UInt32 result = 0;
  for (size_t i = 2; i < value.length; ++i) {
    UInt32 digit = 0;
    if (!HexDigit(value.text[i], &digit)) return false;
    result = result * 16 + digit;
  }
  *code = static_cast<UInt8>(result);
  return true;
}

// Reads line by line and reports what it refuses: every line is read, so
// that one run names every error, up to kMaxProfileErrors.
class Parser {
 public:
  Parser(Profile* profile, ProfileErrors& errors)
      : profile_(profile),
        errors_(errors),
        errorCount_(0),
        line_(0),
        sectionLine_(0),
        inOtherSection_(false),
        afterCr_(false) {
    for (size_t i = 0; i < kModuleCellCount; ++i) {
      profile_->selections[i] = NULL;
      keyLines_[i] = 0;
    }
  }

  bool Parse(const UInt8* bytes, UInt32 size);

 private:
  void Refuse(UInt32 line) {
    if (++errorCount_ <= kMaxProfileErrors) {
      errors_.Refuse(line, reason_.text());
    } else if (errorCount_ == kMaxProfileErrors + 1) {
      errors_.Refuse(line, HW_TEXT("and more errors from this line on, not shown"));
    }
    reason_.Clear();
  }
  TextLine& Reason() { return reason_; }
  bool ReadLine(TextDecoder& decoder, Char* text, size_t* length, bool* atEnd);
  void Line(Span line);
  void Section(Span line);
  void Entry(Span key, Span value);

  Profile* profile_;
  ProfileErrors& errors_;
  UInt32 errorCount_;
  TextLine reason_;
  UInt32 line_;
  UInt32 sectionLine_;   // 0 until [modules]
  bool inOtherSection_;  // after a section refused: its entries are not read
  bool afterCr_;         // the last line ended in CR: an LF next is its CRLF
  UInt32 keyLines_[kModuleCellCount];
};

// One line without its comment into `text`; false on a bad encoding, which
// ends the reading.
bool Parser::ReadLine(TextDecoder& decoder, Char* text, size_t* length, bool* atEnd) {
  bool inComment = false;
  bool tooLong = false;
  bool first = true;
  for (;;) {
    Char c = 0;
    const TextDecoder::Result result = decoder.Next(&c);
    if (result == TextDecoder::kBadEncoding) {
      Reason().Append(decoder.problem());
      Refuse(line_);
      return false;
    }
    if (result == TextDecoder::kEnd) {
      *atEnd = true;
      break;
    }
    const bool crlf = first && afterCr_ && c == '\n';
    first = false;
    afterCr_ = c == '\r';
    if (crlf) continue;
    if (c == '\n' || c == '\r') break;
    if (c == ';' || c == '#') inComment = true;
    if (inComment) continue;
    if (*length == kMaxLineChars)
      tooLong = true;
    else
      text[(*length)++] = c;
  }
  if (tooLong) {
    Reason().Append(HW_TEXT("longer than ")).AppendDecimal(kMaxLineChars);
    Reason().Append(HW_TEXT(" characters before its comment"));
    Refuse(line_);
    *length = 0;
  }
  return true;
}

bool Parser::Parse(const UInt8* bytes, UInt32 size) {
  TextDecoder decoder(bytes, size);
  bool atEnd = false;
  while (!atEnd) {
    ++line_;
    Char text[kMaxLineChars];
    size_t length = 0;
    if (!ReadLine(decoder, text, &length, &atEnd)) return false;
    Line(Trimmed(text, length));
  }
  if (sectionLine_ == 0) {
    Reason().Append(HW_TEXT("no [modules] section: not a profile"));
    Refuse(0);
  }
  return errorCount_ == 0;
}

void Parser::Line(Span line) {
  if (line.length == 0) return;
  if (line.text[0] == '[') return Section(line);
  if (inOtherSection_) return;
  size_t equals = 0;
  while (equals < line.length && line.text[equals] != '=') ++equals;
  if (equals == line.length) {
    Reason().Append(HW_TEXT("expected \"module = button\", a [section] or a comment"));
    return Refuse(line_);
  }
  Entry(Trimmed(line.text, equals), Trimmed(line.text + equals + 1, line.length - equals - 1));
}

void Parser::Section(Span line) {
  inOtherSection_ = true;
  if (line.text[line.length - 1] != ']') {
    Reason().Append(HW_TEXT("a section name without its closing ']'"));
    return Refuse(line_);
  }
  const Span name = Trimmed(line.text + 1, line.length - 2);
  if (!TextEqualsIgnoringCase(name.text, name.length, HW_TEXT("modules"))) {
    Reason().Append(HW_TEXT("[")).Append(name.text, name.length);
    Reason().Append(HW_TEXT("]: unknown section; a profile has only [modules]"));
    return Refuse(line_);
  }
  if (sectionLine_ != 0) {
    Reason().Append(HW_TEXT("[modules] again (first on line ")).AppendDecimal(sectionLine_);
    Reason().Append(HW_TEXT(")"));
    return Refuse(line_);
  }
  inOtherSection_ = false;
  sectionLine_ = line_;
}

void Parser::Entry(Span key, Span value) {
  Module module = kKeypad;
  if (sectionLine_ == 0) {
    Reason().Append(HW_TEXT("a module before [modules]"));
    return Refuse(line_);
  }
  // As people write ini values: "muRate 8XQF".
  if (value.length >= 2 && value.text[0] == '"' && value.text[value.length - 1] == '"') {
    value = Trimmed(value.text + 1, value.length - 2);
  }
  if (!ModuleNamed(key.text, key.length, &module)) {
    Reason().Append(HW_TEXT("\"")).Append(key.text, key.length);
    Reason().Append(HW_TEXT("\": unknown module; the modules are "));
    for (size_t i = 0; i < kModuleCellCount; ++i) {
      Reason()
          .Append(i == 0 ? HW_TEXT("") : HW_TEXT(", "))
          .Append(ModuleName(kModuleCells[i].module));
    }
    return Refuse(line_);
  }
  if (keyLines_[module] != 0) {
    Reason().Append(ModuleName(module)).Append(HW_TEXT(" again (first on line "));
    Reason().AppendDecimal(keyLines_[module]).Append(HW_TEXT(")"));
    return Refuse(line_);
  }
  UInt8 code = 0;
  const SelectionAction* row = ParseCode(value, &code)
                                   ? SelectionWriting(module, code)
                                   : SelectionCaptioned(module, value.text, value.length);
  if (row == NULL) {
    Reason().Append(ModuleName(module)).Append(HW_TEXT(" = \"")).Append(value.text, value.length);
    Reason().Append(HW_TEXT("\": no such button; ")).Append(ModuleName(module));
    Reason().Append(HW_TEXT(" takes "));
    AppendButtonsOf(module, Reason());
    return Refuse(line_);
  }
  keyLines_[module] = line_;
  profile_->selections[module] = row;
}

}  // namespace

void AppendButtonsOf(Module module, TextLine& line) {
  bool first = true;
  for (size_t i = 0; i < kSelectionCount; ++i) {
    const SelectionAction& row = kSelectionTable[i];
    if (row.cell != module) continue;
    if (!first) line.Append(HW_TEXT(", "));
    first = false;
    line.Append(row.caption).Append(HW_TEXT(" (")).AppendHexByte(row.code).Append(HW_TEXT(")"));
  }
}

bool ParseProfile(const UInt8* bytes, UInt32 size, Profile* profile, ProfileErrors& errors) {
  if (size > kMaxProfileBytes) {
    TextLine reason;
    reason.Append(HW_TEXT("larger than 64 KB (")).AppendDecimal(size).Append(HW_TEXT(" bytes)"));
    errors.Refuse(0, reason.text());
    return false;
  }
  Parser parser(profile, errors);
  return parser.Parse(bytes, size);
}

}  // namespace hw
