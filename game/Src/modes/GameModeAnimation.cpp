#include "modes/GameModeAnimation.h"

#include "core/Log.h"
#include "core/StringUtils.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "model/Control.h"
#include "model/ControlFactory.h"
#include "modifiers/Effect.h"
#include "particles/Emitter.h"
#include "render/RendersManager.h"
#include "widgets/StaticImage.h"
#include "xml/XmlElement.h"

namespace {

const wchar_t kEffectsFile[] = L"scripts/effects.xml";

void WriteLog(const std::wstring& line) {
  LLF::Log::GetInstance().Write(line);
}

// A picture changed in place after its texture was made must be made again.
void Reupload(LLF::Image& image) {
  if (!image.GetRenderData() || !LLF::RendersManager::GetInstance().GetCurrentRender()) {
    return;
  }
  try {
    image.Update(0, 0, true);
  } catch (...) {
    WriteLog(
        L"Warning: GameModeAnimation - the scene picture could not be handed to the render system again.");
  }
}

}  // namespace

GameModeAnimation::~GameModeAnimation() = default;

HLF::Control* GameModeAnimation::NewLayer(const wchar_t* name) {
  auto* layer = new HLF::Control(name);
  layer->SetSize(800, 600);
  layer->SetPosition(0, 0);
  layer->SetRenderable(false);
  layer->SetPassDragToParent(true);
  layer->SetActionsInvisible(true);
  return layer;
}

std::wstring GameModeAnimation::TextureName(const std::wstring& texture, int variant) {
  if (variant != 1) {
    return texture;
  }
  // The extension is what follows the last "." of the file name itself,
  // not of a folder.
  const size_t slash = texture.find_last_of(L"/\\");
  const size_t dot = texture.find_last_of(L'.');
  if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) {
    return texture + L"_grey";
  }
  return texture.substr(0, dot) + L"_grey" + texture.substr(dot);
}

bool GameModeAnimation::Load(LLF::XmlElement& level, HLF::Control* board, int variant) {
  parent = board;
  LLF::XmlElement* animations = level.FindChild(L"animations");
  if (!animations || !board) {
    return true;
  }
  // A second Load replaces the first's layers.
  Unload();
  parent = board;
  frontAnimation = NewLayer(L"frontAnimation");
  board->AddChild(frontAnimation);
  if (HLF::Control* scene = board->GetParent()) {
    backAnimation = NewLayer(L"backAnimation");
    scene->AddChildFront(backAnimation);
  }
  int entries = 0;
  int emitters = 0;
  for (int i = 0; i < animations->GetChildsCount(); ++i) {
    LLF::XmlElement* child = animations->GetChild(i);
    if (!child || child->IsComment()) {
      continue;
    }
    const std::wstring& name = child->GetName();
    const bool known = name == L"emitter" || name == L"sky" || name == L"objtransform";
    if (known && entries++ == kMaxEntries) {
      WriteLog(L"Warning: GameModeAnimation - more than " + LLF::ToString(kMaxEntries) +
               L" animations; the rest are skipped.");
      break;
    }
    if (name == L"emitter") {
      if (emitters++ == kMaxEmitters) {
        WriteLog(L"Warning: GameModeAnimation - more than " + LLF::ToString(kMaxEmitters) +
                 L" emitters; the rest are skipped.");
      }
      if (emitters <= kMaxEmitters) {
        LoadEmitter(*child);
      }
    } else if (name == L"sky") {
      LoadSky(*child, variant);
    } else if (name == L"objtransform") {
      LoadObjTransform(*child);
    }
  }
  return true;
}

void GameModeAnimation::LoadEmitter(LLF::XmlElement& element) {
  auto* emitter = new HLF::Emitter();
  if (!emitter->LoadFromXml(element)) {
    WriteLog(L"Error: GameModeAnimation - an emitter of the level's animations does not load; skipped.");
    delete emitter;
    return;
  }
  emitter->Start(0);
  frontAnimation->AddChild(emitter);
}

void GameModeAnimation::LoadSky(LLF::XmlElement& element, int variant) {
  const LLF::XmlAttribute* alphaFile = element.GetAttribute(std::wstring(L"backgroundAlpha"));
  const LLF::XmlAttribute* textureFile = element.GetAttribute(std::wstring(L"skyTexture"));
  const LLF::XmlAttribute* effectName = element.GetAttribute(std::wstring(L"skyEffect"));
  if (!alphaFile || !textureFile || !effectName) {
    WriteLog(L"Error: GameModeAnimation - a sky needs backgroundAlpha, skyTexture and skyEffect; skipped.");
    return;
  }
  if (!backAnimation) {
    WriteLog(L"Error: GameModeAnimation - the board has no parent to hold the sky; skipped.");
    return;
  }
  skyEffect = effectName->GetValue();
  LLF::ImagesManager& images = LLF::ImagesManager::GetInstance();

  auto* scene = dynamic_cast<HLF::StaticImage*>(parent);
  LLF::Image* picture = scene ? scene->GetImage() : nullptr;
  if (LLF::Image* alpha = images.LoadImage(alphaFile->GetValue(), L"", true, true)) {
    if (!picture) {
      WriteLog(L"Warning: GameModeAnimation - the board has no picture for the alpha of " +
               alphaFile->GetValue() + L".");
    } else if (alpha->GetWidth() != picture->GetWidth() || alpha->GetHeight() != picture->GetHeight()) {
      WriteLog(L"Warning: GameModeAnimation - " + alphaFile->GetValue() +
               L" is not the size of the scene picture; the scene keeps its own alpha.");
    } else if (picture->CopyAlphaFrom(*alpha)) {
      Reupload(*picture);
    }
    delete alpha;
  }

  if (skyImage) {
    images.FreeImage(skyImage);
  }
  skyImage = images.LoadImage(TextureName(textureFile->GetValue(), variant), L"", false, true);
  sky = new HLF::StaticImage(L"sky");
  if (skyImage) {
    sky->SetImageObject(skyImage);
  }
  sky->SetPosition(float(kSkyLeft), 0.0f);
  sky->SetActionsInvisible(true);
  backAnimation->AddChild(sky);
  auto* effect = new HLF::Effect();
  if (!effect->LoadFromFile(kEffectsFile, skyEffect)) {
    delete effect;
    return;
  }
  sky->AddAndStartEffect(effect);
}

void GameModeAnimation::LoadObjTransform(LLF::XmlElement& element) {
  LLF::XmlElement* controlElement = nullptr;
  LLF::XmlElement* effectElement = nullptr;
  for (int i = 0; i < element.GetChildsCount(); ++i) {
    LLF::XmlElement* child = element.GetChild(i);
    if (!child || child->IsComment()) {
      continue;
    }
    const std::wstring name = child->GetAttribute(L"name", std::wstring()).GetValue();
    if (name == L"objtransform") {
      controlElement = child;
    } else if (name == L"transformeffect") {
      effectElement = child;
    }
  }
  if (!controlElement || !effectElement) {
    WriteLog(
        L"Error: GameModeAnimation - an objtransform needs children named \"objtransform\" and "
        L"\"transformeffect\"; skipped.");
    return;
  }
  HLF::Control* control = HLF::ControlFactory::GetInstance().CreateFrom(*controlElement);
  if (!control) {
    WriteLog(L"Error: GameModeAnimation - the control of an objtransform can't be created; skipped.");
    return;
  }
  frontAnimation->AddChild(control);
  control->AddAndStartEffect(new HLF::Effect(*effectElement));
}

void GameModeAnimation::Unload() {
  HLF::Control* back = backAnimation;
  HLF::Control* front = frontAnimation;
  backAnimation = nullptr;
  frontAnimation = nullptr;
  sky = nullptr;
  if (back) {
    if (HLF::Control* holder = back->GetParent()) {
      holder->RemoveChild(back, true);
    } else {
      delete back;
    }
  }
  if (front) {
    if (HLF::Control* holder = front->GetParent()) {
      holder->RemoveChild(front, true);
    } else {
      delete front;
    }
  }
  if (skyImage) {
    LLF::ImagesManager::GetInstance().FreeImage(skyImage);
    skyImage = nullptr;
  }
  parent = nullptr;
}
