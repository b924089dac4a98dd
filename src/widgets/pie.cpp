#include "orbe/widgets/pie.h"

#include <algorithm>
#include <cmath>

bool CKvxPieChart::InsertItem(const std::string& label, const std::string& tip, double value,
                              COLORREF color) {
  // A slice cannot show a negative share; a repeated label could not be named.
  if (!std::isfinite(value) || value < 0 || GetElementID(label) >= 0) return false;
  elements_.push_back(PieElement{label, tip, value, color});
  original_order_.push_back(label);
  return true;
}

bool CKvxPieChart::RemoveItem(const std::string& label) {
  const int index = GetElementID(label);
  if (index < 0) return false;
  elements_.erase(elements_.begin() + index);
  original_order_.erase(std::find(original_order_.begin(), original_order_.end(), label));
  if (selected_ == label) selected_.clear();
  return true;
}

void CKvxPieChart::RemoveAllItem() {
  elements_.clear();
  original_order_.clear();
  selected_.clear();
}

int CKvxPieChart::GetElementID(const std::string& label) const {
  const auto at = std::find_if(elements_.begin(), elements_.end(),
                               [&label](const PieElement& e) { return e.label == label; });
  return at != elements_.end() ? static_cast<int>(at - elements_.begin()) : -1;
}

PieElement* CKvxPieChart::Find(const std::string& label) {
  const int index = GetElementID(label);
  return index >= 0 ? &elements_[index] : nullptr;
}

std::string CKvxPieChart::GetSelectedElement() const { return selected_; }

bool CKvxPieChart::SetSelectedElement(const std::string& label) {
  if (!label.empty() && GetElementID(label) < 0) return false;
  selected_ = label;
  return true;
}

bool CKvxPieChart::UpdateItemValue(const std::string& label, double value) {
  PieElement* element = Find(label);
  if (element == nullptr || !std::isfinite(value) || value < 0) return false;
  element->value = value;
  return true;
}

bool CKvxPieChart::UpdateItemLabel(const std::string& label, const std::string& new_label) {
  PieElement* element = Find(label);
  if (element == nullptr || (new_label != label && GetElementID(new_label) >= 0)) return false;
  element->label = new_label;
  *std::find(original_order_.begin(), original_order_.end(), label) = new_label;
  if (selected_ == label) selected_ = new_label;
  return true;
}

bool CKvxPieChart::UpdateItemColor(const std::string& label, COLORREF color) {
  PieElement* element = Find(label);
  if (element == nullptr) return false;
  element->color = color;
  return true;
}

bool CKvxPieChart::SetDistanceIndex(const std::string& label, int distance) {
  PieElement* element = Find(label);
  if (element == nullptr || distance < 0) return false;
  element->distance = distance;
  return true;
}

void CKvxPieChart::SetDistanceIndexAll(int distance) {
  for (PieElement& element : elements_) element.distance = std::max(distance, 0);
}

bool CKvxPieChart::SetElementTransparency(const std::string& label, double transparency) {
  PieElement* element = Find(label);
  if (element == nullptr || !(transparency >= 0 && transparency <= 1)) return false;
  element->transparency = transparency;
  return true;
}

void CKvxPieChart::SetElementTransparencyAll(double transparency) {
  if (!(transparency >= 0 && transparency <= 1)) return;
  for (PieElement& element : elements_) element.transparency = transparency;
}

bool CKvxPieChart::SetElementGradientLight(const std::string& label, double light) {
  PieElement* element = Find(label);
  if (element == nullptr || !(light >= 0 && light <= 100)) return false;
  element->gradient_light = light;
  return true;
}

bool CKvxPieChart::SetElementGradientDark(const std::string& label, double dark) {
  PieElement* element = Find(label);
  if (element == nullptr || !(dark >= 0 && dark <= 100)) return false;
  element->gradient_dark = dark;
  return true;
}

void CKvxPieChart::SetElementGradientLightAll(double light) {
  if (!(light >= 0 && light <= 100)) return;
  for (PieElement& element : elements_) element.gradient_light = light;
}

void CKvxPieChart::SetElementGradientDarkAll(double dark) {
  if (!(dark >= 0 && dark <= 100)) return;
  for (PieElement& element : elements_) element.gradient_dark = dark;
}

double CKvxPieChart::GetShare(int index) const {
  if (index < 0 || index >= static_cast<int>(elements_.size())) return 0;
  double total = 0;
  for (const PieElement& element : elements_) total += element.value;
  return total > 0 ? elements_[index].value / total : 0;
}

void CKvxPieChart::SortElements(bool ascending) {
  std::stable_sort(elements_.begin(), elements_.end(), [ascending](const PieElement& a, const PieElement& b) {
    return ascending ? a.value < b.value : a.value > b.value;
  });
}

void CKvxPieChart::SortToOriginalOrder() {
  std::vector<PieElement> ordered;
  for (const std::string& label : original_order_) ordered.push_back(*Find(label));
  elements_ = std::move(ordered);
}

bool CKvxPieChart::ClickElement(int index) {
  if (!IsWindowEnabled() || index < 0 || index >= static_cast<int>(elements_.size())) return false;
  if (elements_[index].label == selected_) return true;
  selected_ = elements_[index].label;
  Raise("OnPieSelChanged", {index, selected_});
  return true;
}
