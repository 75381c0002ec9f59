// Playing a recorded metafile into another recording.
#include <algorithm>
#include <cmath>
#include <map>

#include "platform/emf/metafile.h"
#include "platform/emf/record_builder.h"
#include "platform/emf/saved_states.h"

namespace vs {
namespace {

bool CreatesObject(uint32_t type) {
  switch (type) {
    case EMR_CREATEPEN: case EMR_EXTCREATEPEN: case EMR_CREATEBRUSHINDIRECT:
    case EMR_CREATEMONOBRUSH: case EMR_CREATEDIBPATTERNBRUSHPT:
    case EMR_EXTCREATEFONTINDIRECTW: case EMR_CREATEPALETTE:
    case 99: case 122:  // colour spaces
      return true;
    default:
      return false;
  }
}

std::vector<uint8_t> WithIndex(const TEmfRecord& r, uint32_t index) {
  std::vector<uint8_t> bytes(r.Bytes().begin(), r.Bytes().end());
  for (int i = 0; i < 4; ++i) bytes[8 + i] = static_cast<uint8_t>(index >> (8 * i));
  return bytes;
}

TPointL Apply(const TXForm& x, double px, double py) {
  return {static_cast<int32_t>(std::lround(px * x.eM11 + py * x.eM21 + x.eDx)),
          static_cast<int32_t>(std::lround(px * x.eM12 + py * x.eM22 + x.eDy))};
}

// Replays one source recording; `place` maps source pixels to target pixels.
class TPlayer {
 public:
  TPlayer(TEmfRecorder& target, const TXForm& place) : target_(target), place_(place) {}

  void Play(const TEmfRecord& r) {
    uint32_t type = r.Type();
    if (type == EMR_HEADER || type == EMR_EOF) return;
    if (CreatesObject(type)) return Create(r);
    switch (type) {
      case EMR_SELECTOBJECT:
      case EMR_SELECTPALETTE:
      case EMR_DELETEOBJECT:
        return UseObject(r);
      case EMR_SETWORLDTRANSFORM:
        world_ = ReadSetWorldTransform(r);
        return EmitWorld();
      case EMR_MODIFYWORLDTRANSFORM: {
        auto m = ReadModifyWorldTransform(r);
        if (m.mode == MWT_IDENTITY) world_ = TXForm{};
        else if (m.mode == MWT_LEFTMULTIPLY) world_ = CombineTransform(m.xform, world_);
        else if (m.mode == MWT_RIGHTMULTIPLY) world_ = CombineTransform(world_, m.xform);
        else world_ = m.xform;
        return EmitWorld();
      }
      case EMR_SAVEDC:
        saved_.push_back(world_);
        break;
      case EMR_RESTOREDC: {
        int32_t n = static_cast<int32_t>(ReadValue(r));
        if (auto keep = RestoredStateIndex(saved_.size(), n)) {
          world_ = saved_[*keep];
          saved_.resize(*keep);
        }
        break;
      }
      default:
        break;
    }
    target_.Append(r.Bytes());
  }

  // Objects the source left alive are deleted; its unbalanced saves are dropped.
  void Finish() {
    target_.RestoreDC(-static_cast<int32_t>(saved_.size() + 1));
    for (auto& [source, mapped] : objects_) target_.DeleteObject(mapped);
    objects_.clear();
  }

  void EmitWorld() { target_.SetWorldTransform(CombineTransform(world_, place_)); }

 private:
  void Create(const TEmfRecord& r) {
    uint32_t index = r.U32(8);
    if (auto old = objects_.find(index); old != objects_.end()) target_.DeleteObject(old->second);
    uint32_t mapped = target_.AllocateHandle();
    objects_[index] = mapped;
    target_.Append(WithIndex(r, mapped));
  }

  void UseObject(const TEmfRecord& r) {
    uint32_t index = r.U32(8);
    if (index & kStockObjectFlag) {
      if (r.Type() != EMR_DELETEOBJECT) target_.Append(r.Bytes());
      return;
    }
    auto it = objects_.find(index);
    if (it == objects_.end()) return;  // no such object: GDI ignores it too
    if (r.Type() == EMR_DELETEOBJECT) {
      target_.DeleteObject(it->second);
      objects_.erase(it);
      return;
    }
    target_.Append(WithIndex(r, it->second));
  }

  TEmfRecorder& target_;
  TXForm place_;
  TXForm world_;
  std::vector<TXForm> saved_;
  std::map<uint32_t, uint32_t> objects_;
};

}  // namespace

void PlayMetafile(TEmfRecorder& target, const TMetafile& source, const TRectL& dest) {
  if (source.Empty()) return;
  auto records = source.Records();  // raises before anything is played
  TEmrHeader header = ReadHeader(records.front());
  double width = source.Width() > 0 ? source.Width() : 1;
  double height = source.Height() > 0 ? source.Height() : 1;
  TXForm place{static_cast<float>((dest.right - dest.left) / width), 0, 0,
               static_cast<float>((dest.bottom - dest.top) / height), static_cast<float>(dest.left),
               static_cast<float>(dest.top)};

  target.SaveDC();
  TPlayer player(target, place);
  player.EmitWorld();
  for (const auto& r : records) player.Play(r);
  player.Finish();

  if (header.bounds.right >= header.bounds.left && header.bounds.bottom >= header.bounds.top) {
    TPointL a = Apply(place, header.bounds.left, header.bounds.top);
    TPointL b = Apply(place, header.bounds.right, header.bounds.bottom);
    target.AddBounds({std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)});
  }
}

}  // namespace vs
