#include "screens/setup_form.h"

#include <stdexcept>
#include <string>

const SetupControl& SetupControlNamed(std::string_view name)
{
    for (const SetupControl& control : SetupControls)
        if (control.name == name) return control;
    throw std::logic_error("the setup dialog has no control " + std::string(name));
}
