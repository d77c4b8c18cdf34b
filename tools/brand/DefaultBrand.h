// The built-in brand's file, Solrind's, as text.
#pragma once

extern const char* const kDefaultBrand;
