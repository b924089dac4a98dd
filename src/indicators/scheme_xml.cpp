// One scheme in an XML file of its own. The declaration says GB2312 and the
// bytes are GBK, which the XML library passes through untouched: no GBK byte
// is one of XML's markup characters.
#include <tinyxml2.h>

#include <cstdlib>

#include "indicators/scheme_fields.h"
#include "orbe/indicators/index_scheme.h"
#include "orbe/platform/file.h"

namespace {

constexpr const char* kRootElement = "IndexScheme";
constexpr const char* kItemElement = "IndexSchemeItem";
constexpr const char* kDeclaration = "xml version=\"1.0\" encoding=\"GB2312\" standalone=\"yes\"";

void ReadText(const tinyxml2::XMLElement& element, const char* attribute, std::string& out) {
  if (const char* value = element.Attribute(attribute)) out = value;
}

void ReadInt(const tinyxml2::XMLElement& element, const char* attribute, std::int32_t& out) {
  if (const char* value = element.Attribute(attribute)) out = std::atoi(value);
}

bool ReadItem(const tinyxml2::XMLElement& element, IndexSchemeItem& item) {
  if (element.Attribute("index") == nullptr) return false;
  for (const orbe::SchemeTextField& field : orbe::kSchemeTextFields)
    ReadText(element, field.xml_attribute, item.*field.member);
  if (const char* visible = element.Attribute(orbe::kVisibleXmlAttribute))
    item.visable = std::atoi(visible) != 0;
  for (const orbe::SchemeIntField& field : orbe::kSchemeIntFields)
    ReadInt(element, field.xml_attribute, item.*field.member);
  return true;
}

void WriteItem(tinyxml2::XMLElement& element, const IndexSchemeItem& item) {
  for (const orbe::SchemeTextField& field : orbe::kSchemeTextFields)
    element.SetAttribute(field.xml_attribute, (item.*field.member).c_str());
  element.SetAttribute(orbe::kVisibleXmlAttribute, item.visable ? 1 : 0);
  for (const orbe::SchemeIntField& field : orbe::kSchemeIntFields)
    element.SetAttribute(field.xml_attribute, item.*field.member);
}

}  // namespace

bool LoadSchemeXml(const std::string& path, IndexScheme& out) {
  const std::optional<std::string> bytes = orbe::ReadWholeFile(path);
  if (!bytes) return false;
  tinyxml2::XMLDocument document;
  if (document.Parse(bytes->data(), bytes->size()) != tinyxml2::XML_SUCCESS) return false;
  const tinyxml2::XMLElement* root = document.RootElement();
  if (root == nullptr || root->Attribute("name") == nullptr) return false;
  IndexScheme scheme;
  ReadText(*root, "name", scheme.name);
  ReadText(*root, "descrip", scheme.descrip);
  ReadText(*root, "tree", scheme.tree);
  ReadText(*root, "expression", scheme.expression);
  for (const tinyxml2::XMLElement* child = root->FirstChildElement(); child != nullptr;
       child = child->NextSiblingElement()) {
    IndexSchemeItem item;
    if (!ReadItem(*child, item)) return false;
    scheme.items.push_back(std::move(item));
  }
  if (scheme.items.empty()) return false;
  out = std::move(scheme);
  return true;
}

bool SaveSchemeXml(const std::string& path, const IndexScheme& scheme) {
  tinyxml2::XMLDocument document;
  document.InsertEndChild(document.NewDeclaration(kDeclaration));
  tinyxml2::XMLElement* root = document.NewElement(kRootElement);
  document.InsertEndChild(root);
  root->SetAttribute("name", scheme.name.c_str());
  root->SetAttribute("descrip", scheme.descrip.c_str());
  root->SetAttribute("tree", scheme.tree.c_str());
  root->SetAttribute("expression", scheme.expression.c_str());
  for (const IndexSchemeItem& item : scheme.items) {
    tinyxml2::XMLElement* element = document.NewElement(kItemElement);
    WriteItem(*element, item);
    root->InsertEndChild(element);
  }
  tinyxml2::XMLPrinter printer;
  document.Print(&printer);
  return orbe::WriteFileAtomically(
      path, std::string_view(printer.CStr(), static_cast<std::size_t>(printer.CStrSize() - 1)));
}
