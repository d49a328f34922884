#pragma once

#include <vector>

// Ownership in the style of the component model: an owner destroys the
// components it owns in reverse order of creation, and a component destroyed
// earlier takes itself out of its owner's list.
class TComponent {
  public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();

    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Component(int index) const { return components_.at(index); }

  private:
    void Remove(TComponent* component);

    TComponent* owner_;
    std::vector<TComponent*> components_;
};
