// Where the palette marker may go, in twips: the same at every display resolution,
// because twips are physical and the chart and the marker scale alike.
#pragma once

constexpr float kMarkerOffset = 20;  // the marker's corner from the pointer
constexpr float kMarkerMargin = 5;   // the marker's distance from the chart's edges

// The furthest a marker of markerExtent goes in a chart of chartExtent during a drag.
constexpr float MarkerLimit(float chartExtent, float markerExtent) {
  return chartExtent - markerExtent - kMarkerMargin;
}
