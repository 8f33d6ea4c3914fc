#include "devtools/Console.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <memory>

#include <filesystem>

#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Log.h"
#include "core/Message.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "devtools/Editor.h"
#include "font/Font.h"
#include "font/FontsManager.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "io/TextFile.h"
#include "math/Color.h"
#include "math/Point.h"
#include "math/Rect.h"
#include "math/Vector2.h"
#include "model/Control.h"
#include "model/EditorServices.h"
#include "modifiers/Effect.h"
#include "modifiers/Modifier.h"
#include "properties/TextProperty.h"
#include "render/IRenderSystem.h"
#include "render/RendersManager.h"
#include "shell/Game.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

// The six colours the console draws with, registered as its variables.
LLF::Color g_colorBackground(96, 96, 96, 240);
LLF::Color g_colorPrintLine(32, 32, 32, 255);
LLF::Color g_colorHistoryText(255, 255, 255, 255);
LLF::Color g_colorErrorText(255, 96, 96, 255);
LLF::Color g_colorWarningText(255, 255, 0, 255);
LLF::Color g_colorCurrentCommand(200, 255, 200, 255);

struct ColorVariable {
  const wchar_t* name;
  LLF::Color* storage;
};
const ColorVariable kColorVariables[] = {
    {L"con_ColorBackground", &g_colorBackground},   {L"con_ColorPrintLine", &g_colorPrintLine},
    {L"con_ColorHistoryText", &g_colorHistoryText}, {L"con_ColorErrorText", &g_colorErrorText},
    {L"con_ColorWarningText", &g_colorWarningText}, {L"con_ColorCurrentCommand", &g_colorCurrentCommand},
};

struct BuiltIn {
  const wchar_t* name;
  Console::CommandHandler handler;
};

// Lives beside the console: the shell asks it for every mouse message.
bool g_inputLogging = false;

// Index of the first character at or after pos that is not a blank.
size_t SkipBlanks(const std::wstring& line, size_t pos) {
  while (pos < line.size() && line[pos] == L' ') {
    ++pos;
  }
  return pos;
}

// The C library's reading of a decimal integer, held to 64 bits.
long long ReadInteger(const std::wstring& word) {
  errno = 0;
  return std::wcstoll(word.c_str(), nullptr, 10);
}

int ReadInt(const std::wstring& word) {
  return static_cast<int>(std::clamp<long long>(ReadInteger(word), INT_MIN, INT_MAX));
}

float ReadFloat(const std::wstring& word) {
  return static_cast<float>(std::wcstod(word.c_str(), nullptr));
}

uint8_t LowByte(const std::wstring& word) {
  return static_cast<uint8_t>(static_cast<unsigned long long>(ReadInteger(word)) & 0xFFu);
}

// The UTF-16 code unit sequence a code point stands as.
void AppendUtf16(std::u16string& out, wchar_t c) {
  const uint32_t cp = static_cast<uint32_t>(c);
  if (cp >= 0x10000u && cp <= 0x10FFFFu) {
    out.push_back(static_cast<char16_t>(0xD800u + ((cp - 0x10000u) >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00u + ((cp - 0x10000u) & 0x3FFu)));
  } else {
    out.push_back(static_cast<char16_t>(cp));
  }
}

const wchar_t* TypeWord(int type) {
  static const wchar_t* const kWords[] = {L"char ",   L"int ",    L"float ",  L"bool ",
                                          L"string ", L"Pointi ", L"Pointf ", L"Color "};
  return type >= 0 && type <= ConsoleCommand::TYPE_COLOR ? kWords[type] : nullptr;
}

bool Contains(const std::wstring& upperLine, const wchar_t* word) {
  return upperLine.find(word) != std::wstring::npos;
}

LLF::Log& TheLog() {
  return LLF::Log::GetInstance();
}

// Images and fonts are handed to the render system only when one runs.
bool NoRenderSystem() {
  return LLF::RendersManager::GetInstance().GetCurrentRender() == nullptr;
}

bool FileExists(const std::wstring& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(LLF::ToOsPath(path), ec);
}

// A file written beside its target and put in place only once complete.
// It is written under its name (a bitmap font names its picture after its
// file), by default the target's, into a fresh folder next to the target,
// on the same file system. Companions are the suffixes of files the save
// writes beside the main one (a bitmap font's picture); they keep the name
// they were written under.
class SaveBeside {
 public:
  SaveBeside(const std::wstring& target, std::vector<std::wstring> companions, const std::wstring& name = L"")
      : _target(target),
        _folder(LLF::ExtractFolder(target) + L".~new~" + LLF::ExtractFileName(target)),
        _name(name.empty() ? LLF::ExtractFileName(target) : name),
        _temp(_folder + L"/" + _name),
        _companions(std::move(companions)) {
    std::error_code ec;
    std::filesystem::create_directory(LLF::ToOsPath(_folder), ec);
  }
  ~SaveBeside() {
    std::error_code ec;
    std::filesystem::remove_all(LLF::ToOsPath(_folder), ec);
  }
  SaveBeside(const SaveBeside&) = delete;
  SaveBeside& operator=(const SaveBeside&) = delete;

  const std::wstring& TempPath() const { return _temp; }

  // The companions first, the main file last; false, with an error line,
  // when a rename fails.
  bool Commit() {
    for (const std::wstring& suffix : _companions) {
      const std::wstring companion = LLF::ExtractFolder(_target) + _name + suffix;
      if (FileExists(_temp + suffix) && !LLF::OS_ReplaceFile(_temp + suffix, companion)) {
        TheLog().Write(L"Error: Can't put " + companion + L" in place.");
        return false;
      }
    }
    if (!LLF::OS_ReplaceFile(_temp, _target)) {
      TheLog().Write(L"Error: Can't put " + _target + L" in place.");
      return false;
    }
    return true;
  }

 private:
  std::wstring _target;
  std::wstring _folder;
  std::wstring _name;
  std::wstring _temp;
  std::vector<std::wstring> _companions;
};

// The picture a font file names; empty without a readable one.
std::wstring PictureNamedBy(const std::wstring& fontFile) {
  LLF::XmlDoc doc;
  if (!FileExists(fontFile) || !doc.LoadFromFile(fontFile)) {
    return std::wstring();
  }
  const LLF::XmlElement* entry = doc.GetRoot()->FindChild(L"font");
  const LLF::XmlAttribute* picture = entry ? entry->GetAttribute(std::wstring(L"imgFile")) : nullptr;
  return picture ? picture->GetValue() : std::wstring();
}

// A font file and its picture cannot be replaced at once, so each save
// gives the picture the other of two names ("<file>.png", "~<file>.png"):
// whenever a kill lands, the file in place names the picture saved with it.
// The picture the old file named goes once the new file stands.
bool SaveFontTo(LLF::Font* font, const std::wstring& destination) {
  const std::wstring name = LLF::ExtractFileName(destination);
  const std::wstring previous = PictureNamedBy(destination);
  SaveBeside save(destination, {L".png"}, previous == name + L".png" ? L"~" + name : name);
  if (!LLF::FontsManager::GetInstance().SaveFont(font, save.TempPath()) || !save.Commit()) {
    return false;
  }
  if (previous == name + L".png" || previous == L"~" + name + L".png") {
    LLF::OS_DeleteFile(LLF::ExtractFolder(destination) + previous);
  }
  return true;
}

void ReportFontSave(LLF::Font* font, const std::wstring& destination) {
  if (SaveFontTo(font, destination)) {
    TheLog().WriteFormat(L"Font has been created.");
  } else {
    TheLog().WriteFormat(L"Error: Can't save font \"%s\"", destination);
  }
}

}  // namespace

bool Utf16Less::operator()(const std::wstring& a, const std::wstring& b) const {
  std::u16string ua;
  std::u16string ub;
  for (wchar_t c : a) AppendUtf16(ua, c);
  for (wchar_t c : b) AppendUtf16(ub, c);
  return ua < ub;
}

Console::Console() {
  for (const ColorVariable& variable : kColorVariables) {
    AddVariable(variable.name, ConsoleCommand::TYPE_COLOR, variable.storage);
  }
  static const BuiltIn kFirst[] = {
      {L"videomode", &CmdVideoMode}, {L"help", &CmdHelp},
      {L"alias", &CmdAlias},         {L"exit", &CmdExit},
      {L"openurl", &CmdOpenUrl},     {L"load", &CmdLoad},
      {L"editor", &CmdEditor},       {L"create", &CmdCreate},
      {L"dumptree", &CmdDumpTree},   {L"enableinputlogging", &CmdEnableInputLogging},
  };
  for (const BuiltIn& command : kFirst) {
    AddCommand(command.name, command.handler);
  }
  // What "alias quit exit" stores; the handler itself would ask for the
  // console that is still being built.
  _aliases[L"quit"] = L"exit";
  AddCommand(L"getuniquesymbols", &CmdGetUniqueSymbols);
  AddCommand(L"imgutil", &CmdImgUtil);
}

Console::~Console() {
  LLF::Log::SetEcho(nullptr);
  // The map goes with the console anyway; what matters is that nothing
  // echoes into it any more.
  _registry.clear();
  _aliases.clear();
}

bool Console::IsInputLogging() const {
  return g_inputLogging;
}

void Console::SetInputLogging(bool on) {
  g_inputLogging = on;
}

bool Console::AddCommand(const std::wstring& name, CommandHandler handler) {
  if (_registry.count(name) != 0) {
    TheLog().Write(L"Warning: Console procedure " + name + L" already exists.");
    return false;
  }
  if (!handler) {
    TheLog().Write(L"Warning: Console procedure " + name + L" has no handler.");
    return false;
  }
  _registry[name] = ConsoleCommand{ConsoleCommand::TYPE_COMMAND, nullptr, handler};
  return true;
}

bool Console::AddVariable(const std::wstring& name, int type, void* storage) {
  if (_registry.count(name) != 0) {
    TheLog().Write(L"Warning: Console variable " + name + L" already exists.");
    return false;
  }
  _registry[name] = ConsoleCommand{type, storage, nullptr};
  return true;
}

bool Console::DeleteCommand(const std::wstring& name) {
  if (_aliases.erase(name) != 0) {
    return true;
  }
  if (_registry.erase(name) == 0) {
    TheLog().Write(L"Warning: Console: Can't delete command " + name +
                   L". Does not exist in the commands list.");
    return false;
  }
  return true;
}

bool Console::DeleteVariable(const std::wstring& name) {
  if (_registry.erase(name) == 0) {
    TheLog().Write(L"Warning: Console: Can't delete variable " + name +
                   L". Does not exist in the variables list.");
    return false;
  }
  return true;
}

bool Console::Execute(const std::wstring& line, bool quiet) {
  return ExecuteAt(line, quiet, 0);
}

bool Console::ExecuteAt(const std::wstring& line, bool quiet, int depth) {
  if (GetParamCount(line) == 0) {
    return false;
  }
  const std::wstring name = GetParam(line, 1);
  const auto alias = _aliases.find(name);
  if (alias != _aliases.end()) {
    // Aliases may name each other in a ring; expansion stops here.
    if (depth >= kMaxAliasDepth) {
      TheLog().Write(L"Error: Alias expansion deeper than " + LLF::ToString(kMaxAliasDepth) +
                     L" levels in command \"" + line + L"\"; stopped.");
      return false;
    }
    const std::wstring expansion = alias->second;
    return ExecuteAt(expansion, false, depth + 1);
  }
  const auto found = _registry.find(name);
  if (found == _registry.end()) {
    TheLog().Write(L"Error: Unknown command \"" + line + L"\"");
    return false;
  }
  if (!quiet) {
    TheLog().Write(line);
  }
  const ConsoleCommand entry = found->second;
  if (entry.type == ConsoleCommand::TYPE_COMMAND) {
    if (entry.handler) {
      entry.handler(line);
    }
  } else if (GetParamCount(line) == 1) {
    LogVariable(name, entry);
  } else {
    SetVariable(name, entry, line);
  }
  return true;
}

void Console::LogVariable(const std::wstring& name, const ConsoleCommand& entry) {
  LLF::Log& log = TheLog();
  if (!entry.storage) {
    log.WriteFormat(L"Unknown command type.");
    return;
  }
  switch (entry.type) {
    case ConsoleCommand::TYPE_CHAR:
      log.WriteFormat(L"%s %d", name, static_cast<int>(*static_cast<uint8_t*>(entry.storage)));
      break;
    case ConsoleCommand::TYPE_INT:
      log.WriteFormat(L"%s %d", name, *static_cast<int32_t*>(entry.storage));
      break;
    case ConsoleCommand::TYPE_FLOAT:
      log.WriteFormat(L"%s %f", name, static_cast<double>(*static_cast<float*>(entry.storage)));
      break;
    case ConsoleCommand::TYPE_BOOL:
      log.WriteFormat(L"%s %s", name, *static_cast<uint8_t*>(entry.storage) == 1 ? L"true" : L"false");
      break;
    case ConsoleCommand::TYPE_STRING:
      log.WriteFormat(L"%s %s", name, *static_cast<std::wstring*>(entry.storage));
      break;
    case ConsoleCommand::TYPE_POINTI: {
      const LLF::Point& p = *static_cast<LLF::Point*>(entry.storage);
      log.WriteFormat(L"%s %d %d", name, p.x, p.y);
      break;
    }
    case ConsoleCommand::TYPE_POINTF: {
      const LLF::Vector2& v = *static_cast<LLF::Vector2*>(entry.storage);
      log.WriteFormat(L"%s %f %f", name, static_cast<double>(v.x), static_cast<double>(v.y));
      break;
    }
    case ConsoleCommand::TYPE_COLOR: {
      const LLF::Color& c = *static_cast<LLF::Color*>(entry.storage);
      log.WriteFormat(L"%s %d %d %d %d", name, int(c.r), int(c.g), int(c.b), int(c.a));
      break;
    }
    default:
      log.WriteFormat(L"Unknown command type.");
      break;
  }
}

void Console::SetVariable(const std::wstring& name, const ConsoleCommand& entry, const std::wstring& line) {
  if (!entry.storage) {
    TheLog().WriteFormat(L"Unknown command type.");
    return;
  }
  const std::wstring w2 = GetParam(line, 2);
  switch (entry.type) {
    case ConsoleCommand::TYPE_CHAR:
      *static_cast<uint8_t*>(entry.storage) =
          static_cast<uint8_t>(std::clamp<long long>(ReadInteger(w2), 0, 255));
      break;
    case ConsoleCommand::TYPE_INT:
      *static_cast<int32_t*>(entry.storage) = ReadInt(w2);
      break;
    case ConsoleCommand::TYPE_FLOAT:
      *static_cast<float*>(entry.storage) = ReadFloat(w2);
      break;
    case ConsoleCommand::TYPE_BOOL:
      *static_cast<uint8_t*>(entry.storage) = (LLF::StrToUpper(w2) == L"TRUE" || w2 == L"1") ? 1 : 0;
      break;
    case ConsoleCommand::TYPE_STRING: {
      // Everything after the name and one separator, blanks kept; counted
      // from where the name starts, so leading blanks do not shift it.
      const size_t start = SkipBlanks(line, 0) + name.size() + 1;
      *static_cast<std::wstring*>(entry.storage) = start < line.size() ? line.substr(start) : std::wstring();
      break;
    }
    case ConsoleCommand::TYPE_POINTI: {
      LLF::Point& p = *static_cast<LLF::Point*>(entry.storage);
      p.x = ReadInt(w2);
      p.y = ReadInt(GetParam(line, 3));
      break;
    }
    case ConsoleCommand::TYPE_POINTF: {
      LLF::Vector2& v = *static_cast<LLF::Vector2*>(entry.storage);
      v.x = ReadFloat(w2);
      v.y = ReadFloat(GetParam(line, 3));
      break;
    }
    case ConsoleCommand::TYPE_COLOR: {
      LLF::Color& c = *static_cast<LLF::Color*>(entry.storage);
      c.r = LowByte(w2);
      c.g = LowByte(GetParam(line, 3));
      c.b = LowByte(GetParam(line, 4));
      c.a = LowByte(GetParam(line, 5));
      break;
    }
    default:
      TheLog().WriteFormat(L"Unknown command type.");
      break;
  }
}

bool Console::Lock() {
  return _mutex.Lock();
}

bool Console::Unlock() {
  return _mutex.Unlock();
}

bool Console::OnMessage(LLF::Message* msg) {
  if (!msg) {
    return true;
  }
  const int code = msg->GetCode();
  if (!_visible && !(code == LLF::WMSG_KEY_UP && msg->GetParam() == LLF::KEY_GRAVE)) {
    return true;
  }
  if (msg->GetSender() != &LLF::AppWindow::GetInstance()) {
    return true;
  }
  switch (code) {
    case LLF::WMSG_WHEEL: {
      LLF::MutexLock lock(_mutex);
      // Clamped by hand: with no lines the range is empty and the view
      // stays at 0.
      const int last = static_cast<int>(_lines.size()) - 1;
      int position = _scrollPosition - msg->GetParam();
      if (position > last) position = last;
      if (position < 0) position = 0;
      _scrollPosition = position;
      break;
    }
    case LLF::WMSG_KEY_DOWN:
      OnKeyDown(msg->GetParam(), msg->GetText());
      break;
    case LLF::WMSG_KEY_UP:
      OnKeyUp(msg->GetParam());
      break;
    default:
      break;
  }
  return true;
}

void Console::OnKeyDown(int key, const std::wstring& text) {
  const bool typed = key == LLF::KEY_SPACE || (key >= LLF::KEY_0 && key < LLF::KEY_GRAVE) ||
                     (key >= LLF::KEY_MINUS && key <= LLF::KEY_SLASH) || key == LLF::KEY_NUMPAD_MULTIPLY ||
                     key == LLF::KEY_NUMPAD_DIVIDE;
  if (typed) {
    _inputLine += text;
    return;
  }
  const int historySize = static_cast<int>(_history.size());
  switch (key) {
    case LLF::KEY_BACKSPACE:
      if (!_inputLine.empty()) _inputLine.pop_back();
      break;
    case LLF::KEY_PAGE_UP: {
      LLF::MutexLock lock(_mutex);
      if (_scrollPosition > 0) --_scrollPosition;
      break;
    }
    case LLF::KEY_PAGE_DOWN: {
      LLF::MutexLock lock(_mutex);
      if (_scrollPosition < static_cast<int>(_lines.size()) - 1) ++_scrollPosition;
      break;
    }
    case LLF::KEY_UP:
      if (historySize > 0) {
        _historyPosition = _historyPosition == -1 ? historySize - 1 : std::max(0, _historyPosition - 1);
        _inputLine = _history[static_cast<size_t>(_historyPosition)];
      }
      break;
    case LLF::KEY_DOWN:
      if (historySize > 0 && _historyPosition != -1) {
        _historyPosition = std::min(historySize, _historyPosition + 1);
        _inputLine = _historyPosition == historySize ? std::wstring()
                                                     : _history[static_cast<size_t>(_historyPosition)];
      }
      break;
    default:
      break;
  }
}

void Console::OnKeyUp(int key) {
  switch (key) {
    case LLF::KEY_TAB:
      CompleteInput();
      break;
    case LLF::KEY_ENTER: {
      const std::wstring line = _inputLine;
      if (Execute(line, false)) {
        _history.push_back(line);
      }
      _inputLine.clear();
      break;
    }
    case LLF::KEY_HOME: {
      LLF::MutexLock lock(_mutex);
      _scrollPosition = 0;
      break;
    }
    case LLF::KEY_END: {
      LLF::MutexLock lock(_mutex);
      if (!_lines.empty()) _scrollPosition = static_cast<int>(_lines.size()) - 1;
      break;
    }
    case LLF::KEY_GRAVE:
      if (_visible) {
        Hide();
      } else {
        Show();
      }
      break;
    default:
      break;
  }
}

void Console::CompleteInput() {
  if (_inputLine.empty()) {
    return;
  }
  const std::wstring wanted = LLF::StrToUpper(_inputLine);
  std::vector<std::wstring> found;
  for (const auto& entry : _registry) {
    if (LLF::StrToUpper(entry.first).find(wanted) != std::wstring::npos) {
      found.push_back(entry.first);
    }
  }
  LLF::Log& log = TheLog();
  if (found.empty()) {
    log.Write(L"No commands or variables found that include \"" + _inputLine + L"\".");
  } else if (found.size() == 1) {
    _inputLine = found.front() + L" ";
  } else {
    log.Write(L"List of variables or commands that include \"" + _inputLine + L"\":");
    for (const std::wstring& name : found) {
      log.Write(name);
    }
  }
}

void Console::Show() {
  Game* game = Game::GetInstance();
  XmlDocEx* config = game ? game->GetConfigDoc() : nullptr;
  LLF::XmlElement* element = config ? config->GetRoot()->GetChildByPath(L"config/game") : nullptr;
  // Its own default: the shell's reading would take a missing value as true.
  const LLF::XmlAttribute* attribute =
      element ? element->GetAttribute(std::wstring(L"enableConsole")) : nullptr;
  if (!attribute || attribute->GetValue() != L"true" || _visible) {
    return;
  }
  EditorServices* editor = EditorServices::GetInstance();
  if (!editor || (!editor->IsInitialized() && !editor->Init())) {
    return;
  }
  _visible = true;
}

void Console::Hide() {
  _visible = false;
}

void Console::Draw() {
  if (!_enabled || !_visible) {
    return;
  }
  LLF::IRenderSystem* rs = LLF::RendersManager::GetInstance().GetCurrentRender();
  if (!rs) {
    return;
  }
  // What is drawn is copied under the lock and drawn after it is released:
  // a line logged while drawing takes the log's lock and then this one.
  std::vector<std::wstring> lines;
  int scroll = 0;
  {
    if (!Lock()) {
      return;
    }
    scroll = std::min(_scrollPosition, static_cast<int>(_lines.size()) - 1);
    if (scroll >= 0) {
      lines.assign(_lines.begin(), _lines.begin() + scroll + 1);
    }
    Unlock();
  }
  EditorServices* editor = EditorServices::GetInstance();
  LLF::Font* font = editor ? editor->GetFont() : nullptr;

  const LLF::AppSettings* settings = LLF::AppWindow::GetInstance().GetSettings();
  const int width = settings ? static_cast<int>(settings->width) : 800;
  const int height = settings ? static_cast<int>(settings->height) : 600;
  LLF::TextDrawParams params(std::wstring(), LLF::Vector2(), LLF::Color(), 0.0f, LLF::Vector2(1.0f, 1.0f), 1,
                             LLF::Vector2(), LLF::Vector2());
  const int h = font ? font->GetTextHeight(params) : 0;
  const int boxY = height / 2 - h - 8;

  rs->FillRect(LLF::Rect(0, 0, width, height / 2), g_colorBackground);
  if (font) {
    float y = static_cast<float>(boxY - 4 - h);
    for (int i = static_cast<int>(lines.size()) - 1; i >= 0; --i) {
      std::wstring text = lines[static_cast<size_t>(i)];
      // The log's line end is no part of what is shown.
      while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
      const std::wstring upper = LLF::StrToUpper(text);
      params.color = Contains(upper, L"ERROR")     ? g_colorErrorText
                     : Contains(upper, L"WARNING") ? g_colorWarningText
                                                   : g_colorHistoryText;
      params.position = LLF::Vector2(4.0f, y);
      params.text = text;
      rs->DrawText(*font, params);
      y -= static_cast<float>(h + 4);
      if (y < static_cast<float>(-h)) break;
    }
  }
  rs->FillRect(LLF::Rect(2, boxY, width - 4, h + 6), g_colorPrintLine);
  if (font) {
    params.text = _inputLine;
    params.color = g_colorCurrentCommand;
    const int textWidth = font->GetTextWidth(params);
    int x = 4;
    if (textWidth > width) x -= textWidth + 2 - width;
    params.position = LLF::Vector2(static_cast<float>(x), static_cast<float>(boxY + 4));
    rs->DrawText(*font, params);
  }
}

void Console::Print(const std::wstring& line) {
  if (!Lock()) {
    return;
  }
  _lines.push_back(line);
  if (_scrollPosition == static_cast<int>(_lines.size()) - 2) {
    _scrollPosition = static_cast<int>(_lines.size()) - 1;
  }
  Unlock();
}

Console::CommandHandler Console::GetCommand(const std::wstring& name) const {
  const auto it = _registry.find(name);
  return it == _registry.end() || it->second.type != ConsoleCommand::TYPE_COMMAND ? nullptr
                                                                                  : it->second.handler;
}

std::vector<std::wstring> Console::GetLines() const {
  LLF::MutexLock lock(_mutex);
  return _lines;
}

void Console::ClearLines() {
  LLF::MutexLock lock(_mutex);
  _lines.clear();
  _scrollPosition = 0;
}

void Console::ClearHistory() {
  _history.clear();
  _historyPosition = -1;
}

int Console::GetScrollPosition() const {
  LLF::MutexLock lock(_mutex);
  return _scrollPosition;
}

int Console::GetParamCount(const std::wstring& line) {
  int count = 0;
  for (size_t pos = SkipBlanks(line, 0); pos < line.size(); pos = SkipBlanks(line, pos)) {
    ++count;
    pos = line.find(L' ', pos);
    if (pos == std::wstring::npos) {
      break;
    }
  }
  return count;
}

std::wstring Console::GetParam(const std::wstring& line, int n) {
  int word = 0;
  for (size_t pos = SkipBlanks(line, 0); pos < line.size(); pos = SkipBlanks(line, pos)) {
    const size_t end = line.find(L' ', pos);
    if (++word == n) {
      return line.substr(pos, end == std::wstring::npos ? std::wstring::npos : end - pos);
    }
    if (end == std::wstring::npos) {
      break;
    }
    pos = end;
  }
  return std::wstring();
}

void Console::EchoLogLine(const std::wstring& line) {
  GetInstance().Print(line);
}

// ---------------------------------------------------------------------------
// Built-in commands

void Console::CmdVideoMode(const std::wstring& line) {
  if (GetParamCount(line) < 2) {
    TheLog().WriteFormat(
        L"Command videomode use: videomode mode, where mode can be fullscreen(alias full),or "
        L"windowed(window, "
        L"win).");
    return;
  }
  const std::wstring mode = LLF::StrToUpper(GetParam(line, 2));
  const bool full = mode == L"FULLSCREEN" || mode == L"FULL";
  const bool windowed = mode == L"WINDOW" || mode == L"WINDOWED" || mode == L"WIN";
  if (!full && !windowed) {
    TheLog().Write(L"Error: Unknown mode in command \"" + line + L"\"");
    return;
  }
  if (Game* game = Game::GetInstance()) {
    game->SetWindowed(windowed);
  }
}

void Console::CmdHelp(const std::wstring&) {
  const Console& console = GetInstance();
  LLF::Log& log = TheLog();
  log.WriteSeparator();
  log.WriteFormat(L"Console help. Variables list:");
  for (const auto& entry : console._registry) {
    if (const wchar_t* word = TypeWord(entry.second.type)) {
      log.Write(word + entry.first);
    }
  }
  log.WriteFormat(L"Commands list:");
  for (const auto& entry : console._registry) {
    if (entry.second.type == ConsoleCommand::TYPE_COMMAND) {
      log.Write(entry.first);
    }
  }
  log.WriteFormat(L"Aliases list:");
  for (const auto& alias : console._aliases) {
    log.Write(alias.first + L" " + alias.second);
  }
  log.WriteSeparator();
}

void Console::CmdAlias(const std::wstring& line) {
  const int count = GetParamCount(line);
  if (count < 2) {
    TheLog().WriteFormat(L"Command alias use: alias aliasname command");
    return;
  }
  if (count == 2) {
    TheLog().Write(L"Error: Not enough params in command \"" + line + L"\"");
    return;
  }
  const std::wstring name = GetParam(line, 2);
  std::wstring command = GetParam(line, 3);
  for (int i = 4; i <= count; ++i) {
    command += L" " + GetParam(line, i);
  }
  if (command == name) {
    TheLog().Write(L"Error: Infinite loop alias detected. Command \"" + line + L"\" ignored.");
    return;
  }
  GetInstance()._aliases[name] = command;
}

void Console::CmdExit(const std::wstring&) {
  LLF::AppWindow::GetInstance().Quit();
}

void Console::CmdOpenUrl(const std::wstring& line) {
  if (GetParamCount(line) < 2) {
    TheLog().WriteFormat(L"Command openurl use: openurl url_path");
    return;
  }
  LLF::OS_OpenDocument(GetParam(line, 2));
}

void Console::CmdLoad(const std::wstring& line) {
  if (GetParamCount(line) < 2) {
    TheLog().WriteFormat(L"Command load use: load object_type object_path object_id[optional]");
    return;
  }
  const std::wstring type = GetParam(line, 2);
  if (type == L"image") {
    LLF::ImagesManager::GetInstance().LoadImage(GetParam(line, 3), GetParam(line, 4), false,
                                                NoRenderSystem());
  } else if (type == L"font" || type == L"sound" || type == L"music") {
    TheLog().Write(L"Warning: Command load - only images load; \"" + type + L"\" is not loaded.");
  }
}

void Console::CmdEditor(const std::wstring& line) {
  if (GetParamCount(line) < 2) {
    TheLog().WriteFormat(L"Command editor use: editor action, where action can be open or close.");
    return;
  }
  Editor& editor = Editor::GetInstance();
  if (LLF::StrEqualNoCase(GetParam(line, 2), L"close")) {
    editor.Close();
  } else {
    editor.Open();
  }
}

void Console::CmdCreate(const std::wstring& line) {
  const int count = GetParamCount(line);
  const std::wstring what = GetParam(line, 2);
  LLF::Log& log = TheLog();
  if (count < 2) {
    log.WriteFormat(L"Command create use: create object_type, where object_type can be font, etc.");
    return;
  }
  LLF::FontsManager& fonts = LLF::FontsManager::GetInstance();
  const bool noRender = NoRenderSystem();
  if (what == L"font") {
    if (count == 2) {
      log.WriteFormat(L"Command create use: create font src_path font_size charset dst_path");
      return;
    }
    const std::wstring source = GetParam(line, 3);
    LLF::Font* font = fonts.LoadFont(source, ReadInt(GetParam(line, 4)), GetCharset(GetParam(line, 5)),
                                     std::wstring(), true, noRender, LLF::Point(2, 2));
    if (!font) {
      log.WriteFormat(L"Error: Can't load font \"%s\"", source);
      return;
    }
    ReportFontSave(font, GetParam(line, 6));
    delete font;
  } else if (what == L"fontappend") {
    if (count == 2) {
      log.WriteFormat(L"Command create use: create fontappend src_path src_path2 dst_path");
      return;
    }
    // Loaded outside the manager: one the game holds under the same path
    // must not be shared and then freed here.
    static const wchar_t kCharacters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.!";
    std::unique_ptr<LLF::Font> first(
        fonts.LoadFont(GetParam(line, 3), 14, kCharacters, std::wstring(), true, noRender, LLF::Point(2, 2)));
    if (!first) return;
    std::unique_ptr<LLF::Font> second(
        fonts.LoadFont(GetParam(line, 4), 14, kCharacters, std::wstring(), true, noRender, LLF::Point(2, 2)));
    if (!second) return;
    std::unique_ptr<LLF::Font> joined(fonts.AppendFonts(first.get(), second.get(), LLF::Point(2, 2)));
    if (!joined) return;
    ReportFontSave(joined.get(), GetParam(line, 5));
  }
}

void Console::DumpControls(const Control& control, const std::wstring& prefix) {
  for (int i = 0; i < control.GetChildsCount(); ++i) {
    const Control* child = control.GetChild(i);
    if (!child) continue;
    TheLog().Write(prefix +
                   (child->IsVisible() ? L"\"" + child->GetName() + L"\"" : L"[" + child->GetName() + L"]"));
    if (child->GetChildsCount() > 0) {
      DumpControls(*child, prefix + L"     ");
    }
  }
}

void Console::DumpControlsFull(const Control& control, const std::wstring& prefix) {
  LLF::Log& log = TheLog();
  for (int i = 0; i < control.GetChildsCount(); ++i) {
    const Control* child = control.GetChild(i);
    if (!child) continue;
    log.Write(prefix +
              (child->IsVisible() ? L"\"" + child->GetName() + L"\"" : L"[" + child->GetName() + L"]"));
    log.Write(prefix + L" -modifiers list:");
    for (int m = 0; m < child->GetModifiersCount(); ++m) {
      if (const Modifier* modifier = child->GetModifier(m)) log.Write(prefix + L" -" + modifier->Dump());
    }
    log.Write(prefix + L" -effects list:");
    for (int e = 0; e < child->GetEffectsCount(); ++e) {
      if (const Effect* effect = child->GetEffect(e)) log.Write(prefix + L" -" + effect->GetName());
    }
    log.Write(prefix + L"[" + child->GetName() + L"]");
    if (child->GetChildsCount() > 0) {
      DumpControls(*child, prefix + L"     ");
    }
  }
}

void Console::CmdDumpTree(const std::wstring& line) {
  LLF::Log& log = TheLog();
  log.WriteSeparator();
  log.WriteFormat(L"Game controls tree dump:");
  if (Game* game = Game::GetInstance()) {
    if (GetParamCount(line) == 2 && GetParam(line, 2) == L"full") {
      DumpControlsFull(game->GetRootControl(), std::wstring());
    } else {
      DumpControls(game->GetRootControl(), std::wstring());
    }
  }
  log.WriteSeparator();
}

void Console::CmdEnableInputLogging(const std::wstring& line) {
  if (GetParamCount(line) < 2) {
    TheLog().WriteFormat(
        L"Command enableinputlogging use: enableinputlogging state, where state can be enabled or disable.");
    return;
  }
  const std::wstring state = GetParam(line, 2);
  if (LLF::StrEqualNoCase(state, L"enable") || LLF::StrEqualNoCase(state, L"true")) {
    g_inputLogging = true;
  } else if (LLF::StrEqualNoCase(state, L"disable") || LLF::StrEqualNoCase(state, L"false")) {
    g_inputLogging = false;
  }
}

void Console::CmdGetUniqueSymbols(const std::wstring& line) {
  const int count = GetParamCount(line);
  if (count != 2 && count != 3) {
    TheLog().WriteFormat(
        L"Command getuniquesymbols use: getuniquesymbols folderwithtextfiles additionalcharset");
    return;
  }
  const std::wstring folder = GetParam(line, 2);
  std::wstring symbols = count == 3 ? GetCharset(GetParam(line, 3)) : std::wstring();
  for (const std::wstring& name : LLF::OS_FindFiles(folder + L"/*.xml")) {
    std::wstring text;
    LLF::TextFile reader;
    if (!reader.ReadAll(folder + L"/" + name, text)) {
      TheLog().Write(L"Warning: Command getuniquesymbols - can't read " + folder + L"/" + name);
      continue;
    }
    for (wchar_t c : text) {
      if (c == L'\n' || c == L' ' || c == L'\r') continue;
      if (symbols.find(c) == std::wstring::npos) symbols.push_back(c);
    }
  }
  LLF::TextFile writer;
  if (!writer.WriteAll(folder + L"/UniqueSymbols.txt", symbols, LLF::TextFile::ENCODING_UTF8)) {
    TheLog().WriteFormat(L"Error: Can't save unique symbols to file.");
  }
}

void Console::CmdImgUtil(const std::wstring& line) {
  if (GetParamCount(line) < 2) {
    TheLog().WriteFormat(L"Command imgutil use: imgutil action params. Possible actions:");
    TheLog().WriteFormat(L"bwtoalpha src dst - converts black and white image to alpha mask");
    return;
  }
  if (GetParam(line, 2) != L"bwtoalpha") {
    return;
  }
  LLF::ImagesManager& images = LLF::ImagesManager::GetInstance();
  std::unique_ptr<LLF::Image> image(images.LoadImage(GetParam(line, 3), std::wstring(), true, true));
  if (!image) {
    return;
  }
  // The mask needs a fourth byte that counts as alpha.
  if (!image->ChangeFormat(LLF::IMGFORMAT_R8G8B8A8) || !image->Lock()) {
    return;
  }
  const int width = static_cast<int>(image->GetWidth());
  const int height = static_cast<int>(image->GetHeight());
  for (int x = 0; x < width; ++x) {
    for (int y = 0; y < height; ++y) {
      LLF::Color pixel;
      image->GetPixel(&pixel, x, y);
      const LLF::Color mask(255, 255, 255, static_cast<uint8_t>((pixel.r + pixel.g + pixel.b) / 3));
      image->SetPixel(x, y, &mask);
    }
  }
  image->Unlock();
  const std::wstring destination = GetParam(line, 4);
  SaveBeside save(destination, {});
  if (images.SaveImage(image.get(), save.TempPath())) {
    save.Commit();
  }
}

}  // namespace HLF
