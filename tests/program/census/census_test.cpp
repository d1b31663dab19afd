// The registrations linked into the saver: every built class of the list is in its registry,
// every registered name is one of the list (no stray or misspelt key), and a probe in an
// unreferenced object library is present (the linking keeps self-registering objects).
#include <gtest/gtest.h>

#include <set>

#include "core/data/class_registry.h"
#include "core/layer/layer_registry.h"
#include "scene/slide_registry.h"
#include "tests/program/registered_class_names.h"

namespace {

template <class B>
std::set<ds_string> Names(const DS_ReaderMap<B>& registry) {
  std::set<ds_string> names;
  for (const auto& entry : registry) names.insert(entry.first);
  return names;
}

std::set<ds_string> RegisteredIn(VQ_Registry registry) {
  switch (registry) {
    case VQ_Registry::Layer: return Names(GetLightReaderMap());
    case VQ_Registry::Slide: return Names(GetSlideReaderMap());
    case VQ_Registry::Constructor: return Names(GetConstructorReaderMap());
  }
  return {};
}

TEST(Census, EveryListedClassIsRegisteredInTheLinkedProgram) {
  for (const auto& expected : kRegisteredClassNames) {
    EXPECT_EQ(RegisteredIn(expected.registry).count(expected.name), 1u) << DsToUtf8(expected.name);
  }
}

TEST(Census, EveryRegisteredNameIsAKnownKey) {
  for (VQ_Registry registry : {VQ_Registry::Layer, VQ_Registry::Slide, VQ_Registry::Constructor}) {
    for (const ds_string& name : RegisteredIn(registry)) {
      if (name == u"VQCensus_Probe") continue;
      bool known = false;
      for (const auto& expected : kRegisteredClassNames) known |= expected.registry == registry && name == expected.name;
      EXPECT_TRUE(known) << DsToUtf8(name) << " is registered but not in the list";
    }
  }
}

TEST(Census, ObjectLibraryRegistrationsSurviveLinking) {
  EXPECT_EQ(GetConstructorReaderMap().count(u"VQCensus_Probe"), 1u);
}

}  // namespace
