#include "tools/pack/delete_order_check.h"

#include "platform/jet/jet_text.h"

namespace vmu::pack {

std::vector<std::string> DeleteOrderWarnings(const std::vector<EmptiedTable>& emptied, const std::string& where) {
  std::vector<std::string> warnings;
  for (size_t later = 0; later < emptied.size(); ++later) {
    const EmptiedTable& child = emptied[later];
    for (size_t earlier = 0; earlier < later; ++earlier) {
      const std::string& parent = emptied[earlier].tabelnaam;
      if (CompareNoCase(parent, child.tabelnaam) == 0) continue;  // a table referencing itself empties as a whole
      bool referenced = false;
      for (const std::string& table : child.references) referenced |= CompareNoCase(table, parent) == 0;
      if (!referenced) continue;
      warnings.push_back(where + "row \"" + parent + "\": DeleteTarget empties table \"" + parent + "\" before row \"" +
                         child.tabelnaam + "\" empties table \"" + child.tabelnaam +
                         "\", whose foreign key references it; where foreign keys are enforced that delete fails "
                         "while \"" +
                         child.tabelnaam + "\" has rows; give row \"" + child.tabelnaam + "\" the lower OrderDelete");
    }
  }
  return warnings;
}

}  // namespace vmu::pack
