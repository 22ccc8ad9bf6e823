// The multisample mode's name.
#include "analysis/probing/multisample_mode.h"

#include "enumeration/value_names.h"

const char* MultisampleMode::TypeName() const { return MultisampleTypeText(type); }
