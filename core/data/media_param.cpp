#include "core/data/media_param.h"

#include <algorithm>

MediaParam::~MediaParam() {
  // Index walk: an observer's Detach may not touch this list, but copying it would allocate.
  for (size_t i = 0; i < m_Observers.size(); ++i) m_Observers[i]->Detach();
}

void MediaParam::Edit(void*, MediaControl*) {}

void MediaParam::Remove(MediaControl* observer) {
  m_Observers.erase(std::remove(m_Observers.begin(), m_Observers.end(), observer), m_Observers.end());
}

void MediaParam::NotifyChanged(MediaControl* originator) {
  // Observers may attach or leave while being told; re-read the size at every step.
  for (size_t i = 0; i < m_Observers.size(); ++i) m_Observers[i]->Notify(originator);
}
