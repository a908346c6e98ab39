#include "platform/simulator/terminal/HandleTable.h"

#include <utility>

#include "platform/simulator/AccessRights.h"

namespace hw::sim {

std::intptr_t HandleTable::Add(Object object) {
  if (object.kind == Object::Kind::kDevice && nullDeviceHandles_) {
    nullDeviceOpens_.push_back(std::move(object));
    return 0;
  }
  const std::intptr_t handle = next_;
  next_ += 4;
  objects_.emplace(handle, std::move(object));
  return handle;
}

HandleTable::Object* HandleTable::Find(std::intptr_t handle, Object::Kind kind) {
  if (handle == 0 && kind == Object::Kind::kDevice && !nullDeviceOpens_.empty()) {
    return &nullDeviceOpens_.back();
  }
  const auto it = objects_.find(handle);
  return it != objects_.end() && it->second.kind == kind ? &it->second : nullptr;
}

bool HandleTable::Close(std::intptr_t handle) {
  if (handle == 0 && !nullDeviceOpens_.empty()) {
    nullDeviceOpens_.pop_back();
    return true;
  }
  const auto it = objects_.find(handle);
  if (it == objects_.end() || it->second.kind == Object::Kind::kKey) return false;
  objects_.erase(it);
  return true;
}

bool HandleTable::CloseKey(std::intptr_t handle) {
  const auto it = objects_.find(handle);
  if (it == objects_.end() || it->second.kind != Object::Kind::kKey) return false;
  objects_.erase(it);
  return true;
}

void HandleTable::CloseAll() {
  objects_.clear();
  nullDeviceOpens_.clear();
}

bool HandleTable::SharingAllows(const std::string& identity, std::uint32_t access,
                                std::uint32_t shareMode) const {
  auto compatible = [&](const Object& open) {
    if (open.identity != identity) return true;
    return !(WantsRead(access) && (open.shareMode & kFileShareRead) == 0) &&
           !(WantsWrite(access) && (open.shareMode & kFileShareWrite) == 0) &&
           !(WantsRead(open.access) && (shareMode & kFileShareRead) == 0) &&
           !(WantsWrite(open.access) && (shareMode & kFileShareWrite) == 0);
  };
  for (const Object& open : nullDeviceOpens_) {
    if (!compatible(open)) return false;
  }
  for (const auto& entry : objects_) {
    if (!compatible(entry.second)) return false;
  }
  return true;
}

std::size_t HandleTable::DeviceOpens() const {
  std::size_t count = nullDeviceOpens_.size();
  for (const auto& entry : objects_) count += entry.second.kind == Object::Kind::kDevice;
  return count;
}

}  // namespace hw::sim
