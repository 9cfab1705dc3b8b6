// Placeholder so the library has a source; the pack helper replaces this folder's files.
#pragma once
