#include "particles/Emitter.h"

#include <memory>

#include "image/Image.h"
#include "render/IRenderSystem.h"
#include "xml/XmlElement.h"

namespace HLF {

Emitter::Emitter() {
  _tag = L"emitter";
  SetSize(100, 100);
  _pressed = false;
  _userFlag = false;
  ImageProperty::SetOwner(this);
}

void Emitter::Update(unsigned dt) {
  if (!_started || _finished) {
    return;
  }
  // Deleting itself below must wait for the safe point, as any deletion
  // asked while a control updates.
  DispatchScope scope;
  LLF::Image* image = GetImage();
  _system.Update(dt, image ? image->GetCellsCount() : 0);
  if (_system.IsExhausted()) {
    _finished = true;
    if (_system.IsAutoDetach() && GetParent()) {
      GetParent()->RemoveChild(this, true);
      return;
    }
    SendCode(EMITTER_MSG_FINISHED);
    return;
  }
  Control::Update(dt);
}

void Emitter::Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) {
  if (!rs || !IsShown()) {
    return;
  }
  const LLF::Transform context = ComputeContext(parent);
  LLF::Image* image = GetImage();
  const std::vector<ParticleQuad>& quads = _system.GetQuads();
  // Without an image there is no texture to draw the quads with.
  if (_started && !_finished && !_system.GetParticles().empty() && IsRenderable() && image) {
    rs->PushTransform(context.matrix);
    const int blend = _system.GetBlendMode();
    if (blend != 0) {
      rs->SetBlendMode(blend);
    }
    // Position 0, cell 0, loop 0, alpha 255, no rotation, scale 1.
    ImageDrawParams params;
    if (!_system.IsAnimated()) {
      // Dead slots are transparent; every slot goes in the one draw.
      rs->DrawImageArray(image, params, quads.front().vertices, static_cast<unsigned>(quads.size()));
    } else {
      for (const Particle& particle : _system.GetParticles()) {
        params.cell = static_cast<int32_t>(particle.frame);
        rs->DrawImageArray(image, params, quads[size_t(particle.quadIndex)].vertices, 1);
      }
    }
    if (blend != 0) {
      rs->SetBlendMode(0);
    }
    rs->PopTransform();
  }
  RenderChilds(rs, context);
}

bool Emitter::LoadFromXml(LLF::XmlElement& element) {
  if (!LoadImageProps(element)) {
    return false;
  }
  _system.LoadFromXml(element);
  return Control::LoadFromXml(element);
}

LLF::XmlElement* Emitter::SaveToXml() {
  LLF::XmlElement* element = Control::SaveToXml();
  const Emitter reference;
  SaveImageProps(*element, reference);
  _system.SaveToXml(*element);
  return element;
}

void Emitter::FillPropertyGrid(std::vector<PropertyGroup>& groups) {
  Control::FillPropertyGrid(groups);
  groups.push_back(ImageProperty::GetPropertyGroup());
  groups.push_back(_system.GetPropertyGroup());
}

bool Emitter::SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                                    const std::wstring& value) {
  if (page == ImageProperty::kPageTitle) {
    return ImageProperty::SetPropertyFromPage(label, value);
  }
  if (page == ParticleSystem::kPageTitle) {
    return _system.SetPropertyFromEditor(label, value);
  }
  return Control::SetPropertyFromEditor(page, label, value);
}

void Emitter::Start(unsigned lifeTime) {
  if (lifeTime != 0) {
    _system.SetLifeTime(lifeTime);
  }
  _started = true;
  _finished = false;
  SendCode(EMITTER_MSG_STARTED);
}

}  // namespace HLF
