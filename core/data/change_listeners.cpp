#include "core/data/change_listeners.h"

DS_ListenerSet::~DS_ListenerSet() {
  // In list order: each listener leaves its parameter if that is still alive.
  for (auto& listener : m_Listeners) listener.reset();
  if (m_OwnsOwner && m_Owner && m_DeleteOwner) m_DeleteOwner(m_Owner);
  m_Listeners.clear();
}
