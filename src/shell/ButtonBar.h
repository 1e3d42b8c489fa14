// The row of picture buttons: owns them in order, hit-tests the mouse against
// them, changes their states and posts every change to their window.
#pragma once

#include "shell/SkinButton.h"

#include <vector>

class ButtonBar {
 public:
  ButtonBar() = default;
  // Deletes every button, in the order they were added.
  virtual ~ButtonBar();
  ButtonBar(const ButtonBar&) = delete;
  ButtonBar& operator=(const ButtonBar&) = delete;

  // Appends the button and takes ownership of it.
  void Add(SkinButton* button);
  int GetCount() const;
  // The caller keeps 0 <= index < GetCount().
  SkinButton* GetAt(int index) const;
  // Enables or disables the first button with that command id; posts the
  // change when there is one and bNotify is set.
  void EnableButton(int id, BOOL bEnable, BOOL bNotify);
  // Every enabled button becomes hover or normal, and each posts its state.
  void OnMouseMove(int x, int y);
  // The first enabled button under the point becomes pressed.
  void OnLButtonDown(int x, int y);

 private:
  std::vector<SkinButton*> m_items;
};
