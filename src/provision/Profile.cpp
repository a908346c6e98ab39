#include "provision/Profile.h"

#include "provision/Selections.h"
#include "provision/Utf8.h"

namespace hw {

namespace {

// Characters of a line before its comment; more is refused, not cut.
const size_t kMaxLineChars = 200;

bool IsBlank(Char c) {
  return c == ' ' || c == '\t' || c == '\r';
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

class Parser {
 public:
  Parser(Profile* profile, ProfileError* error)
      : profile_(profile), error_(error), line_(0), sectionLine_(0) {
    for (size_t i = 0; i < kModuleCellCount; ++i) {
      profile_->selections[i] = NULL;
      keyLines_[i] = 0;
    }
  }

  bool Parse(const UInt8* bytes, UInt32 size);

 private:
  bool Refuse(UInt32 line) {
    error_->line = line;
    return false;
  }
  TextLine& Reason() { return error_->reason; }
  bool Line(Span line);
  bool Section(Span line);
  bool Entry(Span key, Span value);

  Profile* profile_;
  ProfileError* error_;
  UInt32 line_;
  UInt32 sectionLine_;  // 0 until [modules]
  UInt32 keyLines_[kModuleCellCount];
};

bool Parser::Parse(const UInt8* bytes, UInt32 size) {
  TextDecoder decoder(bytes, size);
  bool atEnd = false;
  while (!atEnd) {
    ++line_;
    Char text[kMaxLineChars];
    size_t length = 0;
    bool inComment = false;
    bool tooLong = false;
    for (;;) {
      Char c = 0;
      const TextDecoder::Result result = decoder.Next(&c);
      if (result == TextDecoder::kBadEncoding) {
        Reason().Append(decoder.problem());
        return Refuse(line_);
      }
      if (result == TextDecoder::kEnd) {
        atEnd = true;
        break;
      }
      if (c == '\n') break;
      if (c == ';' || c == '#') inComment = true;
      if (inComment) continue;
      if (length == kMaxLineChars)
        tooLong = true;
      else
        text[length++] = c;
    }
    if (tooLong) {
      Reason().Append(HW_TEXT("longer than ")).AppendDecimal(kMaxLineChars);
      Reason().Append(HW_TEXT(" characters before its comment"));
      return Refuse(line_);
    }
    if (!Line(Trimmed(text, length))) return false;
  }
  if (sectionLine_ == 0) {
    Reason().Append(HW_TEXT("no [modules] section: not a profile"));
    return Refuse(0);
  }
  return true;
}

bool Parser::Line(Span line) {
  if (line.length == 0) return true;
  if (line.text[0] == '[') return Section(line);
  size_t equals = 0;
  while (equals < line.length && line.text[equals] != '=') ++equals;
  if (equals == line.length) {
    Reason().Append(HW_TEXT("expected \"module = button\", a [section] or a comment"));
    return Refuse(line_);
  }
  return Entry(Trimmed(line.text, equals),
               Trimmed(line.text + equals + 1, line.length - equals - 1));
}

bool Parser::Section(Span line) {
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
  sectionLine_ = line_;
  return true;
}

bool Parser::Entry(Span key, Span value) {
  Module module = kKeypad;
  if (sectionLine_ == 0) {
    Reason().Append(HW_TEXT("a module before [modules]"));
    return Refuse(line_);
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
  return true;
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

bool ParseProfile(const UInt8* bytes, UInt32 size, Profile* profile, ProfileError* error) {
  error->line = 0;
  if (size > kMaxProfileBytes) {
    error->reason.Append(HW_TEXT("larger than 64 KB (")).AppendDecimal(size);
    error->reason.Append(HW_TEXT(" bytes)"));
    return false;
  }
  Parser parser(profile, error);
  return parser.Parse(bytes, size);
}

}  // namespace hw
