#include "startup/folder_info.h"

namespace vmu {

void Image1_DblClick(FrmConversie& form) {
  const HostInfo& host = form.ctx.host;
  form.view.ShowInfo("Informatie over programma directory van " + host.exe_name,
                     "Deze applicatie draait in:", host.exe_folder);
}

}  // namespace vmu
