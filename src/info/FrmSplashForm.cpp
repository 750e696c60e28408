#include "info/FrmSplashForm.h"

#include "info/VersionNotice.h"

namespace zembrel {

const FormDescription& frmSplashForm() {
    static const FormDescription form{.name = "frmSplash",
                                      .clientWidth = 8205,
                                      .clientHeight = 4845,
                                      .fixedSize = true,
                                      .border = BorderStyle::None,
                                      .picture = "splash.png",
                                      .controls = {{.kind = ControlKind::Label,
                                                    .name = "lblVersion",
                                                    .caption = SplashVersionText(),
                                                    .rect = {5520, 3960, 2535, 255}}}};
    return form;
}

} // namespace zembrel
