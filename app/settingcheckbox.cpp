#include "app/settingcheckbox.h"

namespace trelvane {

int SettingCheckBox::value() const
{
    switch (checkState()) {
    case Qt::Unchecked: return 0;
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    }
    return 0;
}

void SettingCheckBox::setValue(int v)
{
    setCheckState(v == 0 ? Qt::Unchecked : v == 2 ? Qt::PartiallyChecked : Qt::Checked);
}

}  // namespace trelvane
