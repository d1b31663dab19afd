// Change listeners and listener sets: the initial call, lifetimes whichever side dies first,
// and owner deletion.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/data/change_listeners.h"

namespace {

struct Owner {
  DS_ListenerSet listeners;
  std::vector<uint32_t> counts;
  int changes = 0;

  Owner() { listeners.SetOwner(this); }
  void OnCount(uint32_t count) { counts.push_back(count); }
  void OnChange() { ++changes; }
};

TEST(Listeners, ValueListenerRunsAtOnceAndOnEveryChange) {
  MediaParamT<uint32_t> count(3);
  Owner owner;
  DS_AttachListener(owner.listeners, count, &Owner::OnCount);
  EXPECT_EQ(owner.counts, (std::vector<uint32_t>{3}));
  count.Set(4);
  count.Set(4);
  EXPECT_EQ(owner.counts, (std::vector<uint32_t>{3, 4}));
  EXPECT_EQ(count.Observers().size(), 2u);
}

TEST(Listeners, PlainListenerDoesNotRunAtAttachment) {
  MediaParamT<int32_t> edge(0);
  Owner owner;
  DS_AttachListener2(owner.listeners, edge, &owner, &Owner::OnChange);
  EXPECT_EQ(owner.changes, 0);
  edge.Set(5);
  EXPECT_EQ(owner.changes, 1);
}

TEST(Listeners, ParameterDyingFirstDetachesAndTheSetTouchesNothingFreed) {
  auto owner = std::make_unique<Owner>();
  {
    auto count = std::make_unique<MediaParamT<uint32_t>>(1);
    auto edge = std::make_unique<MediaParamT<int32_t>>(1);
    auto& value = DS_AttachListener(owner->listeners, *count, &Owner::OnCount);
    auto& plain = DS_AttachListener2(owner->listeners, *edge, owner.get(), &Owner::OnChange);
    count.reset();
    edge.reset();
    EXPECT_EQ(value.Watched(), nullptr);
    EXPECT_EQ(plain.Watched(), nullptr);
  }
  owner.reset();  // the sanitizers report any use of the freed parameters
}

TEST(Listeners, OwnerDyingFirstLeavesTheParameter) {
  MediaParamT<uint32_t> count(1);
  MediaParamT<int32_t> edge(1);
  {
    Owner owner;
    DS_AttachListener(owner.listeners, count, &Owner::OnCount);
    DS_AttachListener(owner.listeners, count, &Owner::OnCount);
    DS_AttachListener2(owner.listeners, edge, &owner, &Owner::OnChange);
    EXPECT_EQ(count.Observers().size(), 3u);
  }
  EXPECT_EQ(count.Observers().size(), 1u);  // only its own history
  EXPECT_EQ(edge.Observers().size(), 1u);
  count.Set(2);  // nobody freed is told
}

struct Deleted {
  explicit Deleted(int* deletions) : m_Deletions(deletions) {}
  ~Deleted() { ++*m_Deletions; }
  int* m_Deletions;
};

TEST(ListenerSet, DeletesItsOwnerOnlyWhenItOwnsIt) {
  int deletions = 0;
  { DS_ListenerSet construction; }  // null owner, flag set: nothing to delete
  {
    DS_ListenerSet set;
    EXPECT_TRUE(set.OwnsOwner());
    Deleted kept(&deletions);
    set.SetOwner(&kept);  // storing itself clears the flag
    EXPECT_FALSE(set.OwnsOwner());
  }
  EXPECT_EQ(deletions, 1);  // `kept` itself, once
  {
    DS_ListenerSet set;
    set.SetOwner(new Deleted(&deletions), true);
  }
  EXPECT_EQ(deletions, 2);
}

TEST(Listeners, AttachingNeedsTheOwnerStoredFirst) {
  DS_ListenerSet set;
  MediaParamT<uint32_t> count(0);
  EXPECT_THROW(DS_AttachListener(set, count, &Owner::OnCount), std::logic_error);
}

}  // namespace
