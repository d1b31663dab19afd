// Observable parameters: notification order, the 20-entry undo history, copies and lifetimes.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/data/media_param.h"

namespace {

// Records every call in a shared log.
class Probe final : public MediaControl {
 public:
  Probe(std::string name, std::string* log) : m_Name(std::move(name)), m_Log(log) {}
  void OnChanged(MediaControl*) override { *m_Log += m_Name + ";"; }
  void Detach() override { *m_Log += m_Name + " detach;"; }

 private:
  std::string m_Name;
  std::string* m_Log;
};

TEST(MediaParam, NotifiesEveryObserverButTheOriginatorInOrder) {
  std::string log;
  MediaParamT<int32_t> param(1);
  Probe p("P", &log), q("Q", &log);
  param.Attach(&p);
  param.Attach(&q);
  ASSERT_EQ(param.Observers().front(), &param.History());

  param.Set(1);  // same value: nobody
  EXPECT_EQ(log, "");
  param.Set(2);
  EXPECT_EQ(param.History().Captured(), 2);
  EXPECT_EQ(log, "P;Q;");
  log.clear();
  param.Set(3, &p);
  EXPECT_EQ(log, "Q;");
  EXPECT_EQ(param.History().Captured(), 3);  // the history heard it too
  param.Remove(&p);
  param.Remove(&q);
}

TEST(MediaParam, DefaultsAreCapturedByTheHistoryOnly) {
  std::string log;
  MediaParamT<uint32_t> param;
  EXPECT_EQ(param.Get(), 0u);  // value-initialised
  Probe p("P", &log);
  param.Attach(&p);
  param.SetDefault(40);
  EXPECT_EQ(param.History().Captured(), 40u);
  EXPECT_EQ(log, "");
  param.Remove(&p);
}

TEST(UndoHistory, KeepsTheTwentyNewestEntries) {
  MediaParamT<int32_t> param(0);
  for (int i = 1; i <= 21; ++i) {
    param.History().Record();
    param.Set(i);
  }
  const auto& history = param.History().History();
  ASSERT_EQ(history.size(), 20u);
  EXPECT_EQ(history.front(), 20);
  EXPECT_EQ(history.back(), 1);  // 0 was the oldest and was dropped
}

TEST(UndoHistory, UndoRedoAndRecordDropsRedoEntries) {
  std::string log;
  MediaParamT<ds_string> param(u"v0");
  Probe p("P", &log);
  param.Attach(&p);
  param.History().Record();
  param.Set(u"v1");
  param.History().Record();
  param.Set(u"v2");
  log.clear();

  param.History().Undo();
  EXPECT_EQ(param.Get(), u"v1");
  EXPECT_EQ(log, "P;");  // the history is the originator and is not told
  param.History().Undo();
  EXPECT_EQ(param.Get(), u"v0");
  log.clear();
  param.History().Undo();  // at the end: nothing
  EXPECT_EQ(param.Get(), u"v0");
  EXPECT_EQ(log, "");
  param.History().Redo();
  EXPECT_EQ(param.Get(), u"v1");
  EXPECT_EQ(param.History().RedoCount(), 1u);

  param.History().Record();  // drops the redo entry (v2)
  EXPECT_EQ(param.History().RedoCount(), 0u);
  EXPECT_EQ(param.History().History(), (std::list<ds_string>{u"v1", u"v0"}));
  log.clear();
  param.History().Redo();  // cursor on the front entry: nothing
  EXPECT_EQ(param.Get(), u"v1");
  EXPECT_EQ(log, "");
  param.History().Undo();
  EXPECT_EQ(param.Get(), u"v1");  // the front entry holds v1 itself: no change, nobody told
  EXPECT_EQ(log, "");
  param.History().Undo();
  EXPECT_EQ(param.Get(), u"v0");
  param.Remove(&p);
}

TEST(UndoHistory, EmptyHistoryDoesNothing) {
  std::string log;
  MediaParamT<DS_Vector3> param(DS_Vector3{1, 2, 3});
  Probe p("P", &log);
  param.Attach(&p);
  param.History().Undo();
  param.History().Redo();
  EXPECT_EQ(param.Get(), (DS_Vector3{1, 2, 3}));
  EXPECT_EQ(log, "");
  param.Remove(&p);
}

TEST(MediaParam, CopiesTakeTheValueOnly) {
  std::string log;
  MediaParamTB<int32_t> plain(5);
  Probe p("P", &log);
  plain.Attach(&p);
  MediaParamT<int32_t> copy(plain);
  EXPECT_EQ(copy.Get(), 5);
  ASSERT_EQ(copy.Observers().size(), 1u);
  EXPECT_EQ(copy.Observers()[0], &copy.History());
  EXPECT_EQ(copy.History().Captured(), 5);
  MediaParamTB<int32_t> plainCopy(plain);
  EXPECT_TRUE(plainCopy.Observers().empty());
  plain.Remove(&p);
}

TEST(MediaParam, DestructionDetachesEachOccurrenceAndNeverTheDeadHistory) {
  std::string log;
  Probe p("P", &log), q("Q", &log);
  {
    auto param = std::make_unique<MediaParamT<int32_t>>(0);
    param->Attach(&p);
    param->Attach(&q);
    param->Attach(&p);
    param->History().Record();
  }  // the sanitizers would report a call into the destroyed history
  EXPECT_EQ(log, "P detach;Q detach;P detach;");
}

// Sees the observer list while the MediaParam part is being destroyed.
class ListWatcher final : public MediaControl {
 public:
  void OnChanged(MediaControl*) override {}
  void Detach() override { historyStillListed = param && (param->Observers().front() == history); }
  const MediaParam* param = nullptr;
  const MediaControl* history = nullptr;
  bool historyStillListed = true;
};

TEST(MediaParam, TheHistoryLeavesTheListBeforeItDies) {
  ListWatcher watcher;
  {
    MediaParamT<uint32_t> param(1);
    watcher.param = &param;
    watcher.history = &param.History();
    param.Attach(&watcher);
  }
  EXPECT_FALSE(watcher.historyStillListed);
}

// An observer that changes another parameter: nested notification with itself as originator.
class Forwarder final : public MediaControlT<MediaParamTB<int32_t>> {
 public:
  explicit Forwarder(MediaParamT<int32_t>* target) : m_Target(target) {}
  void OnChanged(MediaControl*) override { m_Target->Set(m_Watched->Get() * 10, this); }

 private:
  MediaParamT<int32_t>* m_Target;
};

TEST(MediaControlT, NestedChangesAndEitherSideDyingFirst) {
  MediaParamT<int32_t> target(0);
  auto source = std::make_unique<MediaParamT<int32_t>>(0);
  {
    Forwarder forwarder(&target);
    forwarder.Watch(source.get());
    source->Set(4);
    EXPECT_EQ(target.Get(), 40);
    EXPECT_EQ(target.History().Captured(), 40);
  }  // the forwarder leaves the living source
  EXPECT_EQ(source->Observers().size(), 1u);
  Forwarder survivor(&target);
  survivor.Watch(source.get());
  MediaParamT<int32_t> other(0);
  survivor.Watch(&other);  // leaves the previous one
  EXPECT_EQ(source->Observers().size(), 1u);
  survivor.Watch(source.get());
  source.reset();  // the source dies first: the observer forgets it
  EXPECT_EQ(survivor.Watched(), nullptr);
}

}  // namespace
