#include "modifiers/Cycler.h"

#include "core/Log.h"
#include "image/Image.h"
#include "model/Control.h"
#include "properties/ImageProperty.h"

namespace HLF {

Cycler::Cycler(TimeWarp* curve) : Modifier(curve) {
  _tag = L"cycler";
}

Modifier* Cycler::SetTarget(Control* target) {
  if (target && !target->IsKindOf("ImageProperty")) {
    LLF::Log::GetInstance().WriteFormat(L"Error: Can't set target with name %s for Cycler modifier.",
                                        target->GetName());
    return this;
  }
  return Modifier::SetTarget(target);
}

void Cycler::Advance(int frames, int loops) {
  // The direction comes from the type, not from a stored step: a copy made
  // while the original ran has the frame but not the step.
  if (_type == FORWARD) {
    _step = 1;
    if (_frame == -1 && _loop == -1) {
      _frame = 0;
      _loop = 0;
    } else if (_frame + 1 < frames) {
      _frame += _step;
    } else if (_loop + 1 < loops) {
      _loop += _step;
      _frame = 0;
    } else {
      _frame = 0;
      _loop = 0;
    }
  } else if (_type == BACKWARD) {
    _step = -1;
    if (_frame == -1 && _loop == -1) {
      _frame = frames - 1;
      _loop = loops - 1;
    } else if (_frame - 1 < 0) {
      if (_loop - 1 < 0) {
        _frame = frames - 1;
        _loop = loops - 1;
      } else {
        _loop += _step;
        _frame = frames - 1;
      }
    } else {
      _frame += _step;
    }
  } else {
    return;
  }
  // A frame from another image (the target's image changed, or a copy of a
  // cycler on a larger one) starts the walk over inside this grid.
  if (_frame < 0 || _frame >= frames || _loop < 0 || _loop >= loops) {
    const bool back = _type == BACKWARD;
    _frame = back ? frames - 1 : 0;
    _loop = back ? loops - 1 : 0;
  }
}

void Cycler::Apply(float p, float dt) {
  (void)p;
  ImageProperty* property = dynamic_cast<ImageProperty*>(_target);
  LLF::Image* image = property ? property->GetImage() : nullptr;
  if (!image) {
    return;
  }
  if (_timeLeft < 0.0f) {
    _timeLeft = 1.0f / _fps;
  }
  _timeLeft -= dt;
  if (_timeLeft < 0.0f) {
    Advance(static_cast<int>(image->GetCellsCount()), static_cast<int>(image->GetLoopsCount()));
  }
  if (_frame != -1) {
    property->SetCell(_frame);
  }
  if (_loop != -1) {
    property->SetLoop(_loop);
  }
}

const PropertyTable<Cycler>& Cycler::Properties() {
  using P = PropertyTable<Cycler>;
  static const P table({
      P::Member(L"fps", &Cycler::_fps),
      P::Words(L"type", &Cycler::_type, {L"FORWARD", L"BACKWARD", L"ROUND", L"RANDOM"}),
  });
  return table;
}

bool Cycler::LoadFromXml(LLF::XmlElement& element) {
  Properties().Load(*this, element);
  return Modifier::LoadFromXml(element);
}

void Cycler::CopyFrom(const Modifier& other) {
  if (const Cycler* cycler = CopyBaseFrom<Cycler>(other, "Cycler")) {
    _fps = cycler->_fps;
    _loop = cycler->_loop;
    _frame = cycler->_frame;
    _type = cycler->_type;
  }
}

Modifier* Cycler::CreateInstance() const {
  return new Cycler();
}

}  // namespace HLF
