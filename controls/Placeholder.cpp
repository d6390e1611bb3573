// The controls library is filled by the edit, resizer and chart units.
