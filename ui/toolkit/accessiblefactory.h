#pragma once

namespace Toolkit {

// Makes Qt build the toolkit's own accessible interfaces for its labels,
// picture boxes, text panels and HTML box: screen readers on Linux (AT-SPI) and Windows
// (UI Automation) read the same tree. Each such control calls it as it is
// made; the first call installs the factory.
void installAccessibleFactory();

} // namespace Toolkit
