#pragma once
// The HTML authoring commands as data.
