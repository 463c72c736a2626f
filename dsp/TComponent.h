#pragma once

#include <string>

// Base of the non-visual components: an owner and a name, nothing else.
// The owner is not responsible for the component's lifetime; whoever creates
// a component destroys it, and the owner must outlive it.
class TComponent {
public:
    explicit TComponent(TComponent* owner = nullptr);
    virtual ~TComponent();

    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    void SetName(std::string name);

private:
    TComponent* FOwner;
    std::string FName;
};
