// The control base: creation, the tree, moves, bindings, focus, destruction, transitions.
#include "tests/ui/host_fixture.h"

namespace lw::test {
namespace {

TEST_F(HostTest, CreatingTwiceAnswersTheSameHandle) {
  AttachPlain();
  Box a;
  ControlHandle h = a.Make(window_, {10, 40, 20, 20});
  EXPECT_EQ(h, reinterpret_cast<ControlHandle>(&a));
  EXPECT_EQ(UiControl::FromHandle(h), &a);
  size_t events = a.events.size();
  EXPECT_EQ(a.Make(window_, {99, 99, 5, 5}), h);
  EXPECT_EQ(a.events.size(), events);
  EXPECT_EQ(a.CurrentRect(), (RectF{10, 40, 20, 20}));
  EXPECT_EQ(a.Count(ev::kCreated), 1);
  EXPECT_EQ(a.Count(ev::kRedraw), 1);
}

TEST_F(HostTest, SettingAValueToWhatItIsRaisesNothing) {
  AttachPlain();
  Box a;
  a.Make(window_, {10, 40, 20, 20});
  Pump();
  a.events.clear();
  int presents = backend_->PresentCount(window_);
  a.Visible(1);
  a.Disabled(0);
  a.Left(10.0f);
  a.Width(20.00000001f);
  a.Move(10.0f, 40.0f, 20.0f, 20.0f);
  Pump();
  EXPECT_TRUE(a.events.empty());
  EXPECT_EQ(backend_->PresentCount(window_), presents);
  a.Visible(0);
  Pump();
  EXPECT_EQ(a.Count(ev::kHidden), 1);
}

TEST_F(HostTest, BindingACodeAgainReplacesItsRoutineInPlace) {
  AttachPlain();
  Box a;
  a.Make(window_, {10, 40, 20, 20});
  std::vector<int> calls;
  a.BindEvent(30001, [&](ControlHandle, ControlHandle, uint32_t, ws::WParam, ws::LParam) {
    calls.push_back(1);
  });
  a.BindEvent(30002, [&](ControlHandle, ControlHandle, uint32_t, ws::WParam, ws::LParam) {
    calls.push_back(2);
  });
  a.BindEvent(30001, [&](ControlHandle, ControlHandle, uint32_t, ws::WParam, ws::LParam) {
    calls.push_back(3);
  });
  ASSERT_EQ(a.Bindings().size(), 2u);
  EXPECT_EQ(a.Bindings()[0].first, 30001u);
  a.SendEvent(30001, 0, 0);
  a.SendEvent(30002, 0, 0);
  EXPECT_EQ(calls, (std::vector<int>{3, 2}));
}

TEST_F(HostTest, MovingAParentMovesItsDescendants) {
  AttachPlain();
  Box parent, child, grandchild;
  parent.Make(window_, {10, 40, 100, 100});
  child.Make(parent.Handle(), {20, 50, 50, 50});
  grandchild.Make(child.Handle(), {25, 55, 10, 10});
  EXPECT_EQ(child.Parent(), parent.Handle());
  EXPECT_EQ(parent.FirstChild(), child.Handle());
  parent.Move(20.0f, 45.0f);
  EXPECT_EQ(child.CurrentRect(), (RectF{30, 55, 50, 50}));
  EXPECT_EQ(grandchild.CurrentRect(), (RectF{35, 60, 10, 10}));
  // A change of size below the tolerance keeps the image.
  const uint8_t* before = parent.Image().Data();
  parent.Width(100.00000001f);
  EXPECT_EQ(parent.Image().Data(), before);
  parent.Width(120.0f);
  EXPECT_EQ(parent.Image().Width(), 120);
  EXPECT_EQ(parent.Count(ev::kResized), 1);
}

TEST_F(HostTest, AChildOfAnotherHostsControlIsRefused) {
  AttachPlain();
  Box here;
  here.Make(window_, {10, 40, 100, 100});
  ws::CreateParams p;
  p.class_name = "Lw_Ui";
  p.rect = {0, 0, 100, 100};
  ws::Hwnd other_window = ws::CreateWindow(p);
  UiHost other;
  AttachParams ap;
  ap.window = other_window;
  ASSERT_TRUE(other.Attach(ap));
  Box there;
  there.Make(other_window, {10, 40, 50, 50});
  Box orphan;
  // Made the host's property lie: the control's host is not the window's.
  ws::SetProp(other_window, kHostProperty, host_->Handle());
  EXPECT_EQ(orphan.Make(there.Handle(), {12, 42, 5, 5}), 0u);
  ws::SetProp(other_window, kHostProperty, other.Handle());
  ws::DestroyWindow(other_window);
}

TEST_F(HostTest, DisablingTheFocusedControlDropsTheFocus) {
  AttachPlain();
  Box a;
  a.Make(window_, {10, 40, 20, 20});
  host_->FocusControl(a.Handle(), false);
  EXPECT_EQ(host_->FocusedControl(), a.Handle());
  a.events.clear();
  a.Disabled(1);
  EXPECT_EQ(host_->FocusedControl(), 0u);
  Pump();
  EXPECT_EQ(a.Count(ev::kFocusLost), 1);
  EXPECT_EQ(a.Count(ev::kMouseLeave), 1);
}

TEST_F(HostTest, DestroyingAParentDestroysItsDescendantsFirst) {
  AttachPlain();
  std::vector<std::string> order;
  struct Named : Box {
    Named(std::vector<std::string>& o, std::string n) : out(o), name(std::move(n)) {}
    ~Named() override { Destroy(); }
    std::optional<ws::LResult> HandleEvent(uint32_t code, ws::WParam w, ws::LParam l) override {
      if (code == ev::kDestroyed) out.push_back(name);
      return Box::HandleEvent(code, w, l);
    }
    std::vector<std::string>& out;
    std::string name;
  };
  Named parent(order, "parent"), child(order, "child"), grandchild(order, "grandchild"),
      sibling(order, "sibling");
  parent.Make(window_, {10, 40, 100, 100});
  child.Make(parent.Handle(), {20, 50, 50, 50});
  grandchild.Make(child.Handle(), {25, 55, 10, 10});
  sibling.Make(parent.Handle(), {80, 80, 10, 10});
  ws::headless::MoveMouseIn(window_, 27, 57);
  Pump();
  EXPECT_EQ(host_->HoverControl(), grandchild.Handle());
  host_->FocusControl(grandchild.Handle(), true);
  parent.Destroy();
  EXPECT_EQ(order, (std::vector<std::string>{"grandchild", "child", "sibling", "parent"}));
  EXPECT_EQ(host_->HoverControl(), 0u);
  EXPECT_EQ(host_->FocusedControl(), 0u);
  EXPECT_EQ(host_->FocusFrameControl(), 0u);
  EXPECT_EQ(UiControl::FromHandle(grandchild.Handle()), nullptr);
  EXPECT_EQ(grandchild.Handle(), 0u);
  EXPECT_EQ(host_->HitTest(27, 57), 0u);
}

TEST_F(HostTest, ZOrderAndUnlink) {
  AttachPlain();
  Box a, b, c;
  a.Make(window_, {10, 40, 50, 50});
  b.Make(window_, {10, 40, 50, 50});
  c.Make(window_, {10, 40, 50, 50});
  EXPECT_EQ(host_->HitTest(20, 50), c.Handle());
  c.SetZOrder(2);  // bottom-most
  EXPECT_EQ(host_->FirstControl(), c.Handle());
  EXPECT_EQ(host_->HitTest(20, 50), b.Handle());
  a.SetZOrder();  // top-most
  EXPECT_EQ(host_->LastControl(), a.Handle());
  EXPECT_EQ(host_->HitTest(20, 50), a.Handle());
  a.Unlink();
  EXPECT_EQ(host_->LastControl(), b.Handle());
  EXPECT_EQ(a.PreviousSibling(), 0u);
  EXPECT_EQ(a.NextSibling(), 0u);
  a.SetParent(window_);
  EXPECT_EQ(host_->LastControl(), a.Handle());
}

TEST_F(HostTest, AFullRepaintEndsARunningTransitionFirst) {
  AttachPlain(255);
  Box a(0xFFFF0000);
  a.Make(window_, {100, 100, 100, 40});
  Pump();
  a.Transition(5, 30);
  a.SetColor(0xFF00FF00);
  EXPECT_EQ(a.Count(ev::kTransitionStarted), 1);
  backend_->AdvanceTime(30);
  Pump();
  EXPECT_EQ(a.TransitionFrame(), 1);
  a.SetColor(0xFF0000FF);  // while frame 1 of 5 runs
  EXPECT_EQ(a.Count(ev::kTransitionStarted), 2);
  EXPECT_EQ(a.TransitionFrame(), 0);
  // The image the new transition starts from is the finished one, green.
  EXPECT_EQ(a.PreviousImage().GetPixel(50, 20), 0xFF00FF00u);
  for (int i = 0; i < 5; ++i) {
    backend_->AdvanceTime(30);
    Pump();
  }
  EXPECT_EQ(Shown().GetPixel(150, 120), 0xFF0000FFu);
}

}  // namespace
}  // namespace lw::test
