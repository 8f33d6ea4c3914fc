#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ControlProbe.h"
#include "FrameworkFactories.h"
#include "ImageAssets.h"
#include "LogRecorder.h"
#include "MessageRecorder.h"
#include "ParsedElement.h"
#include "RecordingRenderSystem.h"
#include "TempFolders.h"
#include "TreeInput.h"
#include "dialogs/Dialog.h"
#include "image/Image.h"
#include "model/ControlFactory.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

namespace {

using HLF::Button;
using HLF::Dialog;
using QmTest::Journal;
using QmTest::Probe;

// A dialog that counts its deletions.
class CountedDialog : public Dialog {
 public:
  explicit CountedDialog(const std::wstring& name) : Dialog(name) {}
  ~CountedDialog() override { ++deleted; }
  static inline int deleted = 0;
};

// A button of the dialog, at (x, y) inside it.
Button* AddButton(HLF::Control* dialog, const std::wstring& name, float x, float y) {
  Button* button = new Button(name);
  button->SetPosition(x, y);
  dialog->AddChild(button);
  return button;
}

// A screen-sized root with a control "below" covering it, under a 300 x
// 200 dialog at (100, 100) with OK and Cancel buttons (100 x 30) at
// (10, 160) and (190, 160) inside it; a recorder listens to the dialog.
struct Screen {
  Screen() : input(&root) {
    root.SetSize(800, 600);
    below = Probe::Add(&root, &journal, L"below", 0, 0, 800, 600);
    dialog = new CountedDialog(L"dlg");
    dialog->SetPosition(100, 100);
    ok = AddButton(dialog, L"OkButton", 10, 160);
    cancel = AddButton(dialog, L"CancelButton", 190, 160);
    EXPECT_TRUE(dialog->OnCreated());
    root.AddChild(dialog);
    recorder.Listen(dialog);
    CountedDialog::deleted = 0;
  }

  bool IsOpen(const HLF::Control* control) const { return control->GetParent() != nullptr; }
  // The results the dialog sent, as "text/param".
  std::vector<std::wstring> Results() const {
    std::vector<std::wstring> results;
    for (const QmTest::MessageRecorder::Entry& entry : recorder.Entries()) {
      if (entry.code == 10) {
        results.push_back(entry.text + L"/" + std::to_wstring(entry.param));
      }
    }
    return results;
  }

  QmTest::MessageRecorder recorder;  // outlives the dialog
  Journal journal;
  HLF::Control root;
  Probe* below;
  CountedDialog* dialog;
  Button* ok;
  Button* cancel;
  QmTest::TreeInput input;
};

TEST(DialogTest, Defaults) {
  Dialog dialog(L"box");
  EXPECT_EQ(dialog.GetTypeName(), L"dialog");
  EXPECT_EQ(dialog.GetSize(), LLF::Point(300, 200));
  EXPECT_TRUE(dialog.IsDraggable());
  EXPECT_TRUE(dialog.IsRaiseOnPress());
  EXPECT_FALSE(dialog.IsMouseOpaque());
  EXPECT_FALSE(dialog.IsFadeBackground());
  EXPECT_EQ(dialog.GetFadeBackgroundColor(), LLF::Color(0, 0, 0, 127));
  LLF::Color back, line, over, pressed;
  dialog.GetStateColors(back, line, over, pressed);
  EXPECT_EQ(back, LLF::Color(164, 164, 164, 255));
  EXPECT_EQ(line, LLF::Color(255, 255, 255, 255));
  EXPECT_EQ(over, LLF::Color(164, 164, 164, 255));
  EXPECT_EQ(pressed, LLF::Color(164, 164, 164, 255));
  EXPECT_EQ(dialog.ImageProperty::GetOwner(), &dialog);
  EXPECT_EQ(dialog.Dump(), L"Dialog: Name: box");
  for (const char* name : {"Dialog", "Control", "ImageProperty"}) {
    EXPECT_TRUE(dialog.IsKindOf(name)) << name;
  }
  std::unique_ptr<HLF::Control> made(dialog.CreateInstance());
  EXPECT_TRUE(made->IsKindOf("Dialog"));
}

TEST(DialogTest, ClicksInsideAreTakenClicksOutsideFallThrough) {
  Screen s;
  Probe* inner = Probe::Add(s.dialog, &s.journal, L"inner", 100, 40, 50, 20);
  struct Case {
    const char* what;
    int x, y;
    const char* reached;
  } cases[] = {
      {"outside the dialog", 50, 50, "below:down"},
      {"on the dialog where no child lies", 300, 250, nullptr},
      {"on the dialog's edge", 400, 300, nullptr},
      {"on a child", 210, 150, "inner:down"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    s.journal.clear();
    s.input.Down(c.x, c.y);
    const Journal downs = QmTest::Only(s.journal, {"down"});
    EXPECT_EQ(downs, c.reached ? Journal{c.reached} : Journal{});
    EXPECT_TRUE(s.IsOpen(s.dialog));
  }
  // A press on the dialog itself makes it pressed; it is in front already.
  EXPECT_EQ(s.root.GetChild(s.root.GetChildsCount() - 1), s.dialog);
  (void)inner;
}

TEST(DialogTest, EnterAndEscapeReleaseTheButtons) {
  {
    Screen s;
    QmTest::MessageRecorder buttons;
    buttons.Listen(s.ok);
    buttons.Listen(s.cancel);
    s.input.KeyUp(LLF::KEY_ENTER);
    EXPECT_EQ(buttons.Codes(), (std::vector<std::string>{"OkButton:12"}));
    EXPECT_EQ(s.Results(), (std::vector<std::wstring>{L"OK/0"}));
    EXPECT_EQ(s.recorder.Entries().back().primary, 0);
    EXPECT_EQ(s.recorder.Entries().back().secondary, 0);
    EXPECT_EQ(CountedDialog::deleted, 1);
    EXPECT_EQ(s.root.GetChildsCount(), 1);
  }
  {
    Screen s;
    s.input.KeyDown(LLF::KEY_ESCAPE);  // only the release counts
    EXPECT_TRUE(s.Results().empty());
    s.input.KeyUp(LLF::KEY_ESCAPE);
    EXPECT_EQ(s.Results(), (std::vector<std::wstring>{L"CANCEL/1"}));
  }
  {
    // Without a Cancel button Escape does nothing; a disabled OK button
    // is not clicked.
    Screen s;
    s.dialog->RemoveChild(s.cancel, true);
    EXPECT_EQ(s.dialog->GetCancelButton(), nullptr);
    s.ok->SetEnabled(false);
    s.input.KeyUp(LLF::KEY_ESCAPE);
    s.input.KeyUp(LLF::KEY_ENTER);
    EXPECT_TRUE(s.Results().empty());
    EXPECT_TRUE(s.IsOpen(s.dialog));
    EXPECT_EQ(CountedDialog::deleted, 0);
  }
}

TEST(DialogTest, AClickOnOkClosesTheDialogAfterItsResult) {
  Screen s;
  // The dialog is still whole while its receivers hear the result.
  int childrenWhenHeard = -1;
  s.recorder.action = [&](const LLF::Message&) { childrenWhenHeard = s.dialog->GetChildsCount(); };
  s.input.Down(150, 270);
  s.input.Up(150, 270);
  EXPECT_EQ(s.Results(), (std::vector<std::wstring>{L"OK/0"}));
  EXPECT_EQ(childrenWhenHeard, 2);
  EXPECT_EQ(CountedDialog::deleted, 1);
}

// A click and Enter arriving in one frame, and a receiver that closes the
// dialog again from inside the result, give one result; the dialog is
// deleted once, at the safe point.
TEST(DialogTest, OneResultPerDialog) {
  {
    Screen s;
    s.input.Send(LLF::WMSG_BUTTON_DOWN, 1, 150, 270);
    s.input.Send(LLF::WMSG_BUTTON_UP, 1, 150, 270);
    EXPECT_FALSE(s.IsOpen(s.dialog));
    EXPECT_EQ(CountedDialog::deleted, 0);  // its button is still on the stack
    s.input.Send(LLF::WMSG_KEY_UP, LLF::KEY_ENTER, 0, 0);
    s.dialog->OnOk();
    s.dialog->OnCancel();
    s.input.SafePoint();
    EXPECT_EQ(s.Results(), (std::vector<std::wstring>{L"OK/0"}));
    EXPECT_EQ(CountedDialog::deleted, 1);
  }
  {
    Screen s;
    s.recorder.action = [&](const LLF::Message&) {
      s.dialog->OnCancel();
      s.dialog->OnOk();
    };
    s.input.KeyUp(LLF::KEY_ENTER);
    EXPECT_EQ(s.Results(), (std::vector<std::wstring>{L"OK/0"}));
    EXPECT_EQ(CountedDialog::deleted, 1);
  }
  {
    // Without a parent a dialog cannot close.
    CountedDialog loose(L"loose");
    QmTest::MessageRecorder recorder;
    recorder.Listen(&loose);
    loose.OnOk();
    EXPECT_TRUE(recorder.Entries().empty());
    EXPECT_FALSE(loose.IsClosing());
  }
}

// An opener that removes and deletes the dialog itself on the result, as
// openers were once told to: still one deletion, and nothing touches the
// dialog after it.
TEST(DialogTest, AnOpenerThatDeletesTheDialogItself) {
  for (bool inDelivery : {true, false}) {
    SCOPED_TRACE(inDelivery ? "from a click" : "from code");
    Screen s;
    s.recorder.action = [&](const LLF::Message&) { s.root.RemoveChild(s.dialog, true); };
    if (inDelivery) {
      s.input.KeyUp(LLF::KEY_ENTER);
    } else {
      s.dialog->OnOk();
    }
    QmTest::TreeInput::SafePoint();
    EXPECT_EQ(s.Results(), (std::vector<std::wstring>{L"OK/0"}));
    EXPECT_EQ(CountedDialog::deleted, 1);
    EXPECT_EQ(s.root.GetChildsCount(), 1);
  }
}

TEST(DialogTest, AChildDialogBlocksItsParent) {
  Screen s;
  QmTest::MessageRecorder parentButtons;
  parentButtons.Listen(s.ok);
  CountedDialog* child = new CountedDialog(L"child");
  child->SetPosition(100, 10);
  child->SetSize(150, 100);
  Button* childOk = AddButton(child, L"OkButton", 10, 60);
  ASSERT_TRUE(child->OnCreated());
  QmTest::MessageRecorder childRecorder;
  childRecorder.Listen(child);
  ASSERT_TRUE(s.dialog->ShowChildDialog(child));
  EXPECT_EQ(s.dialog->GetChildDialog(), child);
  EXPECT_FALSE(s.dialog->IsDraggable());

  // The parent's OK button lies outside the child dialog: not reached.
  s.input.Down(150, 270);
  s.input.Up(150, 270);
  EXPECT_TRUE(parentButtons.Entries().empty());
  EXPECT_TRUE(s.Results().empty());

  // Enter closes only the child.
  s.input.KeyUp(LLF::KEY_ENTER);
  ASSERT_EQ(childRecorder.Entries().size(), 1u);
  EXPECT_EQ(childRecorder.Entries()[0].text, L"OK");
  EXPECT_TRUE(s.Results().empty());
  EXPECT_TRUE(s.IsOpen(s.dialog));
  EXPECT_EQ(CountedDialog::deleted, 1);
  EXPECT_EQ(s.dialog->GetChildDialog(), nullptr);
  EXPECT_TRUE(s.dialog->IsDraggable());
  (void)childOk;

  // Unblocked, the parent takes its own keys and clicks again.
  s.input.Down(150, 270);
  s.input.Up(150, 270);
  EXPECT_EQ(parentButtons.Codes({12}), (std::vector<std::string>{"OkButton:12"}));
  EXPECT_EQ(s.Results(), (std::vector<std::wstring>{L"OK/0"}));
}

TEST(DialogTest, AChildDialogDeletedByItsOpenerUnblocksIt) {
  Screen s;
  Dialog* child = new Dialog(L"child");
  ASSERT_TRUE(s.dialog->ShowChildDialog(child));
  s.dialog->RemoveChild(child, true);
  EXPECT_EQ(s.dialog->GetChildDialog(), nullptr);
  EXPECT_TRUE(s.dialog->IsDraggable());
  s.input.KeyUp(LLF::KEY_ENTER);
  EXPECT_EQ(s.Results(), (std::vector<std::wstring>{L"OK/0"}));
}

// ---------------------------------------------------------------------------
// Drawing

struct Piece {
  float x, y, w, h;
};

std::vector<Piece> ImagePieces(const QmTest::RecordingRenderSystem& rs) {
  std::vector<Piece> pieces;
  for (const QmTest::DrawCall& call : rs.Calls(QmTest::DrawCall::kImage)) {
    const float cellWidth = static_cast<float>(call.image->GetCellWidth());
    const float cellHeight = static_cast<float>(call.image->GetCellHeight());
    const HLF::ImageDrawParams& p = call.imageParams;
    pieces.push_back({p.position.x, p.position.y, cellWidth * p.scale.x, cellHeight * p.scale.y});
  }
  return pieces;
}

TEST(DialogTest, NineSliceFrameCoversTheDialogExactly) {
  QmTest::ImageAssets images;
  images.Add(L"frame", 30, 30, 3, 3);
  images.Add(L"plain", 40, 20, 1, 1);
  for (const LLF::Point size : {LLF::Point(300, 200), LLF::Point(31, 47), LLF::Point(20, 20)}) {
    SCOPED_TRACE(testing::PrintToString(std::make_pair(size.x, size.y)));
    Dialog dialog;
    dialog.SetPosition(7, 9);
    ASSERT_TRUE(dialog.SetImage(L"frame"));
    dialog.SetSize(size);
    dialog.SetAlpha(200);
    QmTest::RecordingRenderSystem rs;
    dialog.Render(&rs, nullptr);
    const std::vector<QmTest::DrawCall> calls = rs.Calls(QmTest::DrawCall::kImage);
    const std::vector<Piece> pieces = ImagePieces(rs);
    // Every pixel of the dialog lies in exactly one piece.
    std::vector<int> cover(static_cast<size_t>(size.x * size.y), 0);
    for (const Piece& piece : pieces) {
      for (int y = 0; y < size.y; ++y) {
        for (int x = 0; x < size.x; ++x) {
          const float cx = x + 0.5f;
          const float cy = y + 0.5f;
          if (piece.x <= cx && cx < piece.x + piece.w && piece.y <= cy && cy < piece.y + piece.h) {
            ++cover[static_cast<size_t>(y * size.x + x)];
          }
        }
      }
      EXPECT_GE(piece.x, 0.0f);
      EXPECT_GE(piece.y, 0.0f);
      EXPECT_LE(piece.x + piece.w, static_cast<float>(size.x) + 0.001f);
      EXPECT_LE(piece.y + piece.h, static_cast<float>(size.y) + 0.001f);
    }
    EXPECT_TRUE(std::all_of(cover.begin(), cover.end(), [](int n) { return n == 1; }));
    for (const QmTest::DrawCall& call : calls) {
      EXPECT_EQ(call.imageParams.alpha, 200);
      // Under the dialog's transform.
      EXPECT_EQ(call.Map(0, 0), LLF::Vector2(7, 9));
    }
    if (size.x == 300) {
      // Rows top to bottom, each left to right: cell = column, loop = row.
      ASSERT_EQ(calls.size(), 9u);
      for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(calls[i].imageParams.cell, i % 3);
        EXPECT_EQ(calls[i].imageParams.loop, i / 3);
      }
      EXPECT_FLOAT_EQ(pieces[4].x, 10.0f);
      EXPECT_FLOAT_EQ(pieces[4].w, 280.0f);
      EXPECT_FLOAT_EQ(pieces[4].h, 180.0f);
    }
  }

  // Any other frame image is drawn as it is, once.
  Dialog plain;
  ASSERT_TRUE(plain.SetImage(L"plain"));
  plain.SetSize(300, 200);
  QmTest::RecordingRenderSystem rs;
  plain.Render(&rs, nullptr);
  ASSERT_EQ(rs.Calls(QmTest::DrawCall::kImage).size(), 1u);
  EXPECT_EQ(rs.Calls(QmTest::DrawCall::kImage)[0].imageParams.scale, LLF::Vector2(1.0f, 1.0f));
}

TEST(DialogTest, DarkenedBackground) {
  QmTest::ImageAssets images;
  images.Add(L"frame", 30, 30, 3, 3);
  struct Case {
    uint8_t alpha;
    bool fade;
    bool active;
    int fillAlpha;  // -1: no background
  } cases[] = {
      {255, true, true, 127}, {128, true, true, 64},  {0, true, true, -1},
      {255, false, true, -1}, {255, true, false, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.alpha) << " fade " << c.fade << " active " << c.active);
    HLF::Control root;
    root.SetRenderable(false);
    Dialog* dialog = new Dialog();
    dialog->SetImage(L"frame");
    dialog->SetPosition(50, 60);
    root.AddChild(dialog);
    dialog->SetFadeBackground(c.fade);
    dialog->SetAlpha(c.alpha);
    if (!c.active) {
      root.AddChild(new HLF::Control());  // deactivates the dialog
      root.GetChild(1)->SetRenderable(false);
    }
    // The parent's alpha does not dim the background further.
    LLF::Transform parent(LLF::Matrix4::Identity(), 100);
    QmTest::RecordingRenderSystem rs;
    dialog->Render(&rs, &parent);
    const std::vector<QmTest::DrawCall> fills = rs.Fills();
    if (c.fillAlpha < 0) {
      EXPECT_TRUE(fills.empty());
      continue;
    }
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].color, LLF::Color(0, 0, 0, static_cast<uint8_t>(c.fillAlpha)));
    const LLF::RectF& r = fills[0].rect;
    EXPECT_EQ(std::vector<float>({r.x, r.y, r.width, r.height}),
              std::vector<float>({-100000.0f, -100000.0f, 200000.0f, 200000.0f}));
    // Drawn before the frame, under the dialog's transform.
    EXPECT_EQ(rs.Calls()[1].kind, QmTest::DrawCall::kFillRect);
    EXPECT_EQ(fills[0].Map(0, 0), LLF::Vector2(50, 60));
  }
}

// ---------------------------------------------------------------------------
// Layouts

const char kEffects[] =
    "<effects>\n"
    "  <effect name=\"Show\"><fader type=\"FADEOUT\" duration=\"0.5\" /></effect>\n"
    "  <effect name=\"Hide\"><fader type=\"FADEIN\" duration=\"0.5\" /></effect>\n"
    "</effects>\n";

TEST(DialogTest, LoadedFromALayout) {
  QmTest::TempFolders folders;
  folders.WriteProgramFile("scripts/effects.xml", kEffects);
  QmTest::FrameworkFactories factories;
  QmTest::ImageAssets images;
  images.Add(L"frame", 30, 30, 3, 3);
  std::unique_ptr<HLF::Control> made(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(
      L"<dialog name=\"ask\" imageName=\"frame\" size=\"320,240\" fadeBackground=\"true\" "
      L"fadeBackgroundColor=\"10,20,30,40\" effectsFile=\"scripts/effects.xml\" showEffect=\"Show\" "
      L"hideEffect=\"Hide\">"
      L"<button name=\"OkButton\" pos=\"10,200\" />"
      L"<label name=\"CancelButton\" pos=\"200,200\" />"
      L"</dialog>"));
  Dialog* dialog = dynamic_cast<Dialog*>(made.get());
  ASSERT_NE(dialog, nullptr);
  // The image is read before the size: the size stands.
  EXPECT_EQ(dialog->GetSize(), LLF::Point(320, 240));
  EXPECT_TRUE(dialog->IsFadeBackground());
  EXPECT_EQ(dialog->GetFadeBackgroundColor(), LLF::Color(10, 20, 30, 40));
  ASSERT_NE(dialog->GetOkButton(), nullptr);
  EXPECT_EQ(dialog->GetOkButton()->GetName(), L"OkButton");
  EXPECT_EQ(dialog->GetCancelButton(), nullptr);  // a label is no button
  // Both effects run from the start.
  EXPECT_EQ(dialog->GetEffectsCount(), 2);
  std::wstring file, show, hide;
  dialog->GetEffects(file, show, hide);
  EXPECT_EQ(file + L"|" + show + L"|" + hide, L"scripts/effects.xml|Show|Hide");

  dialog->SetAlpha(255);  // the show effect starts the dialog unseen
  std::unique_ptr<LLF::XmlElement> saved(dialog->SaveToXml());
  std::vector<std::wstring> attributes = QmTest::AttributeTexts(*saved);
  EXPECT_EQ(attributes, (std::vector<std::wstring>{L"name=ask", L"size=320,240", L"pos=0,0",
                                                   L"effectsFile=scripts/effects.xml", L"showEffect=Show",
                                                   L"hideEffect=Hide", L"fadeBackground=true",
                                                   L"fadeBackgroundColor=10,20,30,40", L"imageName=frame"}));
  EXPECT_EQ(saved->GetChildsCount(), 2);

  // A frame set to another cell still writes no cell or loop.
  dialog->SetCell(2);
  dialog->SetLoop(1);
  saved.reset(dialog->SaveToXml());
  EXPECT_EQ(saved->GetAttribute(std::wstring(L"imageCell")), nullptr);
  EXPECT_EQ(saved->GetAttribute(std::wstring(L"imageLoop")), nullptr);

  // Names without their file are not read.
  made.reset(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(
      L"<dialog showEffect=\"Show\" fadeBackground=\"yes\" />"));
  dialog = dynamic_cast<Dialog*>(made.get());
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->GetEffectsCount(), 0);
  EXPECT_FALSE(dialog->IsFadeBackground());
  saved.reset(dialog->SaveToXml());
  EXPECT_EQ(QmTest::AttributeTexts(*saved), (std::vector<std::wstring>{L"size=300,200", L"pos=0,0"}));
}

TEST(DialogTest, EditorPages) {
  QmTest::TempFolders folders;
  folders.WriteProgramFile("scripts/effects.xml", kEffects);
  QmTest::FrameworkFactories factories;
  Dialog dialog;
  std::vector<HLF::PropertyGroup> pages;
  dialog.FillPropertyGrid(pages);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0].title, L"Control properties");
  EXPECT_EQ(pages[1].title, L"Dialog properties");
  EXPECT_EQ(pages[2].title, L"Image properties");
  std::vector<std::wstring> rows;
  for (const HLF::PropertyEntry& entry : pages[1].entries) {
    rows.push_back(entry.label + L"=" + entry.value);
  }
  EXPECT_EQ(rows, (std::vector<std::wstring>{L"Effect file=", L"Show effect=", L"Hide effect=",
                                             L"Fade background=false", L"Fade color=0,0,0,127"}));
  EXPECT_TRUE(dialog.SetPropertyFromEditor(L"Dialog properties", L"Effect file", L"scripts/effects.xml"));
  EXPECT_EQ(dialog.GetEffectsCount(), 0);  // no effect named yet
  EXPECT_TRUE(dialog.SetPropertyFromEditor(L"Dialog properties", L"Show effect", L"Show"));
  EXPECT_EQ(dialog.GetEffectsCount(), 1);
  EXPECT_TRUE(dialog.SetPropertyFromEditor(L"Dialog properties", L"Fade background", L"true"));
  EXPECT_TRUE(dialog.SetPropertyFromEditor(L"Dialog properties", L"Fade color", L"1,2,3,4"));
  EXPECT_TRUE(dialog.IsFadeBackground());
  EXPECT_EQ(dialog.GetFadeBackgroundColor(), LLF::Color(1, 2, 3, 4));
  EXPECT_TRUE(dialog.SetPropertyFromEditor(L"Control properties", L"Name", L"renamed"));
  EXPECT_EQ(dialog.GetName(), L"renamed");
}

// A dialog class with two required children, in this order: "TextLabel", a
// label, and "CloseButton", a button.
class NoticeDialog : public Dialog {
 public:
  NoticeDialog() { _tag = L"noticedlg"; }
  Control* CreateInstance() const override { return new NoticeDialog(); }
  bool OnCreated() override {
    return RequireChild(text, L"NoticeDialog", L"TextLabel", "Label") &&
           RequireChild(close, L"NoticeDialog", L"CloseButton", "Button") && Dialog::OnCreated();
  }
  HLF::Label* text = nullptr;
  Button* close = nullptr;
};

TEST(DialogTest, RequiredChildren) {
  QmTest::FrameworkFactories factories;
  HLF::ControlFactory::GetInstance().Register(new NoticeDialog());
  const std::wstring labelLine = L"Error: NoticeDialog dialog must have control TextLabel of class Label.";
  const std::wstring buttonLine =
      L"Error: NoticeDialog dialog must have control CloseButton of class Button.";
  struct Case {
    const char* what;
    std::wstring children;
    const std::wstring* line;
  } cases[] = {
      {"both there", L"<label name=\"TextLabel\" /><button name=\"CloseButton\" />", nullptr},
      {"the label missing", L"<button name=\"CloseButton\" />", &labelLine},
      {"the label a button", L"<button name=\"TextLabel\" /><button name=\"CloseButton\" />", &labelLine},
      // A label naming a sound that is not loaded is not made at all.
      {"the label not loaded",
       L"<label name=\"TextLabel\" soundName=\"nosuch\" /><button name=\"CloseButton\" />", &labelLine},
      {"the button missing", L"<label name=\"TextLabel\" />", &buttonLine},
      {"nothing there: the first lookup ends it", L"", &labelLine},
      {"the later of two of that name that fits",
       L"<label name=\"TextLabel\" /><button name=\"TextLabel\" /><button name=\"CloseButton\" />", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QmTest::LogRecorder log;
    std::unique_ptr<HLF::Control> made(HLF::ControlFactory::GetInstance().LoadObjectFromXmlText(
        L"<noticedlg>" + c.children + L"</noticedlg>"));
    EXPECT_EQ(log.Count(L"must have control"), c.line ? 1 : 0);
    if (c.line) {
      EXPECT_EQ(log.Count(*c.line), 1);
      EXPECT_EQ(made, nullptr);
      continue;
    }
    NoticeDialog* notice = dynamic_cast<NoticeDialog*>(made.get());
    ASSERT_NE(notice, nullptr);
    ASSERT_NE(notice->text, nullptr);
    EXPECT_TRUE(notice->text->IsKindOf("Label"));
    EXPECT_NE(notice->close, nullptr);
  }
}

TEST(DialogTest, CenterOnParent) {
  HLF::Control parent;
  parent.SetSize(640, 480);
  Dialog* dialog = new Dialog();
  dialog->SetSize(301, 200);
  parent.AddChild(dialog);
  dialog->CenterOnParent();
  EXPECT_EQ(dialog->GetPosition(), LLF::Vector2(169.5f, 140.0f));
  // A parent that draws nothing of its own gives way to the screen.
  parent.SetRenderable(false);
  dialog->CenterOnParent();
  EXPECT_EQ(dialog->GetPosition(), LLF::Vector2(249.5f, 200.0f));
}

}  // namespace
