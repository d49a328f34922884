#include "platform/Component.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
    // Each child's destructor removes it from components_, so the back shrinks.
    while (!components_.empty()) delete components_.back();
    if (owner_) owner_->Remove(this);
}

void TComponent::Remove(TComponent* component) {
    auto it = std::find(components_.begin(), components_.end(), component);
    if (it != components_.end()) components_.erase(it);
}
