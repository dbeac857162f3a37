#pragma once

#include "clsCommonDialog.h"

// Qt's file dialog, the desktop's own where it offers one.
class QtFileDialogs final : public FileDialogPlatform {
public:
    bool GetOpenFileName(OpenFileName& record) override;
    bool GetSaveFileName(OpenFileName& record) override;
};
