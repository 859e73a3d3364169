#pragma once
// The two interfaces that command lists run at draw time: a render state wraps
// one object's mesh (apply before, restore after); a render pass does one thing
// between objects. Effects define further states and passes on them.

namespace demo {

class RenderState {
  public:
    virtual ~RenderState() = default;
    // Per-class constants, asked before apply and restore are queued; nothing
    // acts on the answer.
    virtual bool queryApply() = 0;
    virtual bool queryRestore() = 0;
    virtual void apply() = 0;
    virtual void restore() = 0;

    // Written by SetIndexPass while a list runs; effect states read it.
    int index = 0;
};

class RenderPass {
  public:
    virtual ~RenderPass() = default;
    virtual bool flag() = 0;
    virtual void apply() = 0;
};

// Sets a state's index. It makes no GL call, so a compiled list does not
// repeat it.
class SetIndexPass : public RenderPass {
  public:
    SetIndexPass(RenderState* target_, int value_) : target(target_), value(value_) {}
    bool flag() override { return true; }
    void apply() override { target->index = value; }

    RenderState* target;
    int value;
};

}  // namespace demo
