#pragma once

// The program's archives as the search, export and card tables name them: the three card
// archives and the two yearly movement registers.
enum class ArchiveId { Products, Customers, Suppliers, Loads, Unloads };
