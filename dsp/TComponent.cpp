#include "dsp/TComponent.h"

#include <utility>

TComponent::TComponent(TComponent* owner) : FOwner(owner) {}

TComponent::~TComponent() = default;

void TComponent::SetName(std::string name) { FName = std::move(name); }
